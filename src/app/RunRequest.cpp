#include "app/RunRequest.h"

#include <cmath>

#include "app/Messages.h"
#include "app/Val.h"

namespace rh {

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

void RequestRun(Init& state, const RunEntries& entries, const RunRequestOps& ops) {
  const std::string tc = TrimSpaces(entries.TimeOfConcentration);
  const std::string rain = TrimSpaces(entries.SixHourRainfall);
  const std::string area = TrimSpaces(entries.BasinArea);
  const std::string coef = TrimSpaces(entries.RunoffCoefficient);
  const std::string peak = TrimSpaces(entries.PeakDischarge);

  if (tc.empty() || rain.empty() || area.empty() || coef.empty() || peak.empty()) {
    ops.ShowWarning(messages::kIncompleteTitle, messages::kIncompleteText);
    return;
  }

  state.ReportPath = entries.Path;
  if (ops.WriteSettings)
    ops.WriteSettings();

  state.TimeOfConcentration = std::floor(Val(tc) + 0.5);
  if (state.TimeOfConcentration < 5) {
    ops.ShowWarning(messages::kTcTitle, messages::kTcText);
    return;
  }

  // Parse all four before storing any, so an entry beyond the double range leaves the inputs of
  // the last run as they were.
  const double rainfall = Val(rain);
  const double basinArea = Val(area);
  const double coefficient = Val(coef);
  const double peakDischarge = Val(peak);
  state.SixHourRainfall = rainfall;
  state.BasinArea = basinArea;
  state.RunoffCoefficient = coefficient;
  state.Discharge(1) = peakDischarge;

  ops.ShowResultsModal();
}

}  // namespace rh
