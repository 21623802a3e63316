// Turning the entry texts of a run into run inputs, or into the warning that refuses them.
#pragma once

#include <functional>
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

// The five numeric entries as run inputs with a zero tail of `zeroTail` ordinates: each is trimmed
// of spaces and read by Val, and the time of concentration is rounded to whole minutes. A blank
// entry, or a time of concentration below 5 minutes after rounding, is refused. An entry beyond
// the double range raises ArithmeticFault.
RequestOutcome ParseRunEntries(const RunEntries& entries, long zeroTail);

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
