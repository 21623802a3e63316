// Turning the entry texts of a run into run inputs, or into the warning that refuses them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "engine/Hydrograph.h"

namespace rh {

struct Init;

// The entries of a run, as typed (the main screen's boxes, the companion's options, a row of a
// basin table).
struct RunEntries {
  std::string Path;                 // HEC-1 deck path box
  std::string TimeOfConcentration;  // minutes
  std::string SixHourRainfall;      // inches
  std::string BasinArea;            // acres
  std::string RunoffCoefficient;    // dimensionless
  std::string PeakDischarge;        // cfs
};

// A refused request: the title and text of its warning.
struct Refusal {
  std::string Title;
  std::string Text;
};

using RequestOutcome = std::variant<RunInputs, Refusal>;

// Where a run's storm comes from beyond the entries.
struct StormChoice {
  // A depth-duration table instead of the county chart: the 6-hour rainfall entry is not read (P6
  // is the table's 6-hour depth), and the table must cover every duration the run uses.
  std::shared_ptr<const TableRainfall> Rainfall;
  // The peak discharge from the rainfall, C x I(Tc) x A rounded half up to 0.1 cfs, instead of
  // the peak discharge entry.
  bool ChartPeak = false;
};

// The numeric entries as run inputs with a zero tail of `zeroTail` ordinates: each is trimmed of
// spaces and read by Val, and the time of concentration is rounded to whole minutes. A blank entry
// (of those `storm` leaves to be read), a time of concentration below 5 minutes after rounding, or
// a rainfall table that does not cover the run's durations is refused. An entry beyond the double
// range raises ArithmeticFault, and so does a chart peak that overflows.
RequestOutcome ParseRunEntries(const RunEntries& entries, long zeroTail,
                               const StormChoice& storm = {});

// Qp = C x I(Tc) x A from the inputs' rainfall, rounded half up to 0.1 cfs.
double ChartPeak(const RunInputs& inputs);

// The main screen's request. Blank entries are refused with nothing changed; otherwise the path box
// becomes ReportPath, `writeSettings` runs (the settings file keeps the path while the HEC-1 switch
// is on), and the entries are read as ParseRunEntries reads them with the switch's zero tail. The
// rounded time of concentration is kept in state.Inputs even when it is refused, and the other
// inputs once the request is accepted. Faults from `writeSettings` and Val reach the caller.
RequestOutcome RequestRun(Init& state, const RunEntries& entries,
                          const std::function<void()>& writeSettings);

// The text with leading and trailing spaces removed (tabs stay).
std::string TrimSpaces(const std::string& text);

}  // namespace rh
