#include "app/RunRequest.h"

#include <cmath>

#include "app/Init.h"
#include "app/RainfallTable.h"
#include "app/Val.h"
#include "core/Messages.h"
#include "engine/Checked.h"

namespace rh {

namespace {

constexpr double kSixHours = 360;  // minutes: the design storm, and its P6

bool Blank(const std::string& entry) {
  return entry.find_first_not_of(' ') == std::string::npos;
}

bool Complete(const RunEntries& e, const StormChoice& storm = {}) {
  return !Blank(e.TimeOfConcentration) && (storm.Rainfall || !Blank(e.SixHourRainfall)) &&
         !Blank(e.BasinArea) && !Blank(e.RunoffCoefficient) &&
         (storm.ChartPeak || !Blank(e.PeakDischarge));
}

Refusal Incomplete() {
  return {messages::kIncompleteTitle, messages::kIncompleteText};
}

double RoundedMinutes(const std::string& entry) {
  return std::floor(Val(TrimSpaces(entry)) + 0.5);
}

}  // namespace

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

double ChartPeak(const RunInputs& in) {
  using namespace checked;
  const double peak =
      Mul(Mul(in.RunoffCoefficient, StormIntensity(in, in.TimeOfConcentration)), in.BasinArea);
  return RoundHalfUp(peak, 10);
}

RequestOutcome ParseRunEntries(const RunEntries& entries, long zeroTail, const StormChoice& storm) {
  if (!Complete(entries, storm))
    return Incomplete();
  RunInputs in;
  in.TimeOfConcentration = RoundedMinutes(entries.TimeOfConcentration);
  if (in.TimeOfConcentration < 5)
    return Refusal{messages::kTcTitle, messages::kTcText};
  if (storm.Rainfall) {
    if (auto problem =
            CoverageProblem(storm.Rainfall->Table, storm.Rainfall->File, in.TimeOfConcentration))
      return Refusal{messages::kRainfallTableTitle, *problem};
    in.Rainfall = storm.Rainfall;
    in.SixHourRainfall = storm.Rainfall->Table.Depth(kSixHours);
  } else {
    in.SixHourRainfall = Val(TrimSpaces(entries.SixHourRainfall));
  }
  in.BasinArea = Val(TrimSpaces(entries.BasinArea));
  in.RunoffCoefficient = Val(TrimSpaces(entries.RunoffCoefficient));
  in.PeakDischarge = storm.ChartPeak ? ChartPeak(in) : Val(TrimSpaces(entries.PeakDischarge));
  in.ZeroTail = zeroTail;
  return in;
}

RequestOutcome RequestRun(Init& state, const RunEntries& entries,
                          const std::function<void()>& writeSettings) {
  if (!Complete(entries))
    return Incomplete();
  state.ReportPath = entries.Path;
  if (writeSettings)
    writeSettings();
  state.Inputs.TimeOfConcentration = RoundedMinutes(entries.TimeOfConcentration);
  RequestOutcome outcome =
      ParseRunEntries(entries, state.Hec1Enabled != kFalse ? kZeroTailHec1 : kZeroTail);
  // Parsed as a whole before anything else is stored, so an entry beyond the double range leaves
  // the inputs of the last run as they were.
  if (const RunInputs* inputs = std::get_if<RunInputs>(&outcome))
    state.Inputs = *inputs;
  return outcome;
}

}  // namespace rh
