// The outputs a run can make, in one table: what each is called in messages, the option that asks
// for it, how it is made from a run and what it is made on. The options, the prepared run (its
// clash check), the run step and the failure texts all read this table: a new output is one entry
// here and its renderer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/run/OptionTable.h"
#include "engine/Hydrograph.h"
#include "platform/OutputDevices.h"

namespace rh {

// In the order the run step renders them and the clash check compares them.
enum class OutputKind {
  Deck,
  Listing,
  Csv,
  Report,
  Plot,
  PondCsv,
  PondRating,
  Swmm,
  Study,
  Summary,
  Print
};

// What an output is made on: a text file, a PDF file, a picture file (SVG, or PNG through the
// devices) or a device (the default printer).
enum class OutputMedium { Text, Pdf, Picture, Device };

// An output a run is asked for, and its file ("" for a device or standard output).
struct RequestedOutput {
  OutputKind Kind;
  std::string Path;
};

// What an output is made from: the run, the output's file, the deck the run writes ("" for none,
// the report names it), the run's date (for a dated output) and the devices (null for none).
struct OutputSource {
  const Run& run;
  const std::string& path;
  const std::string& deckPath;
  const std::string& date;
  OutputDevices* devices;
};

struct OutputEntry {
  OutputKind Kind;
  const char* Name;  // in messages: "the listing and the plot name the same file"
  // The companion's option for it. Without help the companion reads the option in its own way
  // (--hec1 is the HEC-1 switch too); without a name there is none (the listing is printed).
  OptionHelp Option;
  OutputMedium Medium;
  const char* FailureTitle;  // what a failure is reported under; null: the fault's words alone
  bool Dated;                // it shows the run's date
  bool NeedsPond;            // asked for only with a pond
  bool OnePeriod;            // made of one run: not asked for with several return periods
  bool OnStandardOutput;     // the companion prints it instead of writing a file
  // The bytes of its file; null for one the front end makes from several runs (the study).
  std::string (*Render)(const OutputSource&);
  // Sends it to its device (after every file is written); null for a file.
  void (*Send)(const OutputSource&);
  // It is drawn or sent through the devices (Qt's printing), which an edition without the devices
  // module cannot offer; the study's PDF and the SVG plot are made without them.
  bool OnDevices = false;
};

// Every output, in OutputKind's order.
const std::vector<OutputEntry>& OutputTable();

const OutputEntry& OutputOf(OutputKind kind);

// The entry whose companion option is `option`; null for none.
const OutputEntry* OutputWithOption(const std::string& option);

// The output of `kind` among `outputs`; null when it is not asked for.
const RequestedOutput* FindOutput(const std::vector<RequestedOutput>& outputs, OutputKind kind);

// The devices a PDF, a print job or a PNG chart is made on; PrinterFault when there are none.
OutputDevices& NeededDevices(OutputDevices* devices);

}  // namespace rh
