// The prepared run: what every front end (the main screen, the companion, each row of a batch, the
// study window and the browser page) hands to the run step. Entry texts and the run's choices go
// in; the run inputs and the outputs to make come out, or the refusal that stops the run before
// anything is written.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/run/RunBasin.h"
#include "engine/Hydrograph.h"
#include "engine/Pond.h"
#include "platform/FileSystem.h"

namespace rh {

// The entries of a run, as typed (the main screen's boxes, the companion's options, a row of a
// basin table, the page's fields).
struct RunEntries {
  std::string Path;                 // HEC-1 deck path box
  std::string TimeOfConcentration;  // minutes
  std::string SixHourRainfall;      // inches
  std::string BasinArea;            // acres
  std::string RunoffCoefficient;    // dimensionless
  std::string PeakDischarge;        // cfs; "chart" asks for the chart peak
};

// A file a run reads, or one written beside it, named for messages ("basin table").
struct NamedPath {
  std::string What;
  std::string Path;
};

// What a run is asked to do beyond its entries.
struct RunChoices {
  // The storm: the county chart from the 6-hour rainfall entry (null), or a depth-duration table,
  // whose 6-hour depth is P6 (the rainfall entry is then not read).
  std::shared_ptr<const TableRainfall> Rainfall;
  // The peak discharge from the storm in use, C x I(Tc) x A rounded half up to 0.1 cfs, in place
  // of the peak discharge entry (which is then not read). A peak entry "chart" asks for it too.
  bool ChartPeak = false;
  // The HEC-1 switch: the hydrograph closes with ten zero ordinates instead of one, and the deck
  // is written to DeckPath.
  bool Hec1 = false;
  std::string DeckPath;
  // The pond the hydrograph is routed through (null: none), and the routing step in minutes.
  std::shared_ptr<const TablePond> Pond;
  long RouteStepMinutes = 1;
  // The outputs wanted besides the deck, in any order: the prepared run puts them in the output
  // table's order.
  std::vector<RequestedOutput> Outputs;
  bool Check = false;  // the volume and peak check
  // Files the front end writes beside the run's own (a study document, the chart of several
  // runs): compared with the run's inputs and outputs like them.
  std::vector<RequestedOutput> OtherOutputs;
  // Files the run reads besides its rainfall and pond tables (a batch's basin table), and files
  // written beside it (a batch's summary): no output may land on any of them.
  std::vector<NamedPath> OtherFiles;
  // The front end has compared the outputs with every file the run reads and with each other
  // already (a batch, once for all its rows): they are not compared again.
  bool FilesChecked = false;
};

// What is wrong with the way a run's storm is asked for.
enum class StormChoiceProblem {
  None,
  // A 6-hour rainfall beside a rainfall table, which gives its own.
  RainAndTable,
  // Return periods without a rainfall table to take them from.
  PeriodsWithoutTable,
};

// The one rule for a storm asked for by a 6-hour rainfall (`rain`), a rainfall table (`table`)
// and return periods (`periods`), each true when given. Every front end applies it before it reads
// the table, and says what is wrong in its own words.
StormChoiceProblem StormChoiceOf(bool rain, bool table, bool periods);

// A run ready for the run step.
struct PreparedRun {
  RunInputs Inputs;
  OutputRequest Request;
};

// Prepares the run of `entries` with `choices`.
//
// The entries are read as the entry boxes are (trimmed of spaces, Val's leading number, Tc rounded
// to whole minutes). In order: a blank entry refuses the run; `accepted` then runs (the main screen
// keeps the path box and writes the settings file there); then Tc below 5 or above 360, and each
// entry in screen order (no number, a comma, text after the number that is not the entry's unit, a
// negative value, a coefficient above 1, a rainfall table that does not cover the run), and a peak
// that would make an ordinate negative or lie below the block before it refuse it.
// Only the first refusal is raised, as Refused. A routing step that does not divide Tc, two outputs
// on one file and an output on a file the run reads raise UsageError (files compared by the file
// each name resolves to through `files`). An entry beyond the double range, and a chart peak that
// overflows, raise ArithmeticFault.
PreparedRun PrepareRun(const RunEntries& entries, const RunChoices& choices, FileSystem& files,
                       const std::function<void()>& accepted = {});

// Refuses a file the window saves on request (`saved`: "table" and its path) that is a file the run
// reads (its rainfall and pond tables in `inputs`) or one it writes (`deckPath`, "" for none),
// with the rule and the words of a run's own outputs: UsageError.
void CheckSavedFile(const NamedPath& saved, const RunInputs& inputs, const std::string& deckPath,
                    FileSystem& files);

// The 6-hour rainfall of `storm`, inches: its table's depth over 360 minutes. Throws as the
// table's Depth does.
double SixHourDepth(const TableRainfall& storm);

// True when a peak discharge entry asks for the chart's peak: "chart", in any case.
bool AsksForChartPeak(const std::string& entry);

// Qp = C x I(Tc) x A from the inputs' rainfall, rounded half up to 0.1 cfs.
double ChartPeak(const RunInputs& inputs);

// The text with leading and trailing spaces removed (tabs stay).
std::string TrimSpaces(const std::string& text);

}  // namespace rh
