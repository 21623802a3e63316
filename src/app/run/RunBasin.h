// The one step that runs a basin: the windowed program, the companion and batch runs all compute
// and write a run through it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/run/Outputs.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "output/VolumeCheck.h"
#include "platform/Clock.h"
#include "platform/Drawing.h"
#include "platform/FileSystem.h"
#include "platform/OutputDevices.h"

namespace rh {

// What a run writes besides its result: the outputs asked for, in the output table's order (the
// run step makes them in the order given), and whether the volume and peak check is wanted.
struct OutputRequest {
  std::vector<RequestedOutput> Outputs;
  bool Check = false;

  // The file of the output of `kind`; null when it is not asked for.
  const std::string* PathOf(OutputKind kind) const;
};

// An output that could not be made, in the fault's own words. Which is empty when the file that
// failed was one written beside the run's own.
struct OutputFailure {
  std::optional<OutputKind> Which;
  std::string Message;
};

// A run and what became of its outputs.
struct BasinRun {
  rh::Run Run;
  // The deck the run was asked to make ("" when none): the report names it.
  std::string DeckPath;
  // The volume and peak check, when asked for.
  std::optional<VolumeCheck> Check;
  // The first output that failed. The files of the run are written all together or not at all,
  // so after a failure in rendering or writing none of them is written; a print job is sent last.
  std::optional<OutputFailure> Failure;
};

struct RunServices {
  FileSystem& files;
  Clock& clock;                      // dates the deck and the report
  OutputDevices* devices = nullptr;  // needed for a PDF, a print job or a PNG chart
};

// Computes the run of `inputs`, routes it through the pond when it has one (and its check, when
// asked for) and makes the outputs `request` asks for. A fault in the computation, the routing or
// the check (arithmetic, subscript), and the routing's refusal (an overflowing pond, a step too
// long), are raised to the caller before anything is written; a fault in an output comes back as
// the Failure of the run. A routed table asked of a run without a pond is a FileFault Failure.
BasinRun RunBasin(const RunInputs& inputs, const OutputRequest& request,
                  const RunServices& services);

// The same into `basin`, whose storage is reused (for runs of many basins).
void RunBasin(const RunInputs& inputs, const OutputRequest& request, const RunServices& services,
              BasinRun& basin);

// The two halves of RunBasin, for a caller that writes files of its own with a run's (a study of
// several runs, their chart). ComputeBasin computes the run into `basin` (the hydrograph, the pond
// routing, the check when asked for), raising faults and refusals; WriteOutputs renders and
// writes the outputs `request` asks for, with the files `more`, all together or none, and sends
// the print job last; a failure comes back as basin.Failure.
void ComputeBasin(const RunInputs& inputs, const OutputRequest& request, BasinRun& basin);
void WriteOutputs(const OutputRequest& request, const RunServices& services, BasinRun& basin,
                  const std::vector<FileText>& more = {});

// The printed report of `run` (naming the deck at `deckPath`, "" for none), dated `date`, as the
// bytes of a PDF file. PrinterFault when there are no `devices` or the document fails.
std::string ReportPdfBytes(const Run& run, const std::string& deckPath, const std::string& date,
                           OutputDevices* devices);

// `drawing` as the bytes of a picture file at `path`: SVG or PNG by its extension. FileFault for
// any other name, PrinterFault when a PNG is asked for without `devices`.
std::string PictureBytes(const Drawing& drawing, const std::string& path, OutputDevices* devices);

// The chart of `run` as the bytes of a picture file at `path`: SVG or PNG by its extension.
// FileFault for any other name, ArithmeticFault when the chart's ranges overflow, PrinterFault when
// a PNG is asked for without `devices`.
std::string PlotFileBytes(const Run& run, const std::string& path, OutputDevices* devices);

// The chart of several runs of one basin over each other (one run: its own chart), as above.
std::string PlotFileBytes(const std::vector<const Run*>& runs, const std::string& path,
                          OutputDevices* devices);

}  // namespace rh
