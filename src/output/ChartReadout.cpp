#include "output/ChartReadout.h"

#include <algorithm>
#include <cmath>

#include "core/NumberForms.h"
#include "output/VolumeCheck.h"

namespace rh {

namespace {

double Between(double from, double to, double share) {
  return from + (to - from) * share;
}

std::optional<double> InflowAt(const Run& run, double minutes) {
  const RunResult& r = run.Result;
  const double tc = run.Inputs.TimeOfConcentration;
  const long count = r.OrdinateCount;
  if (!(tc > 0) || count < 0 || count >= r.Hydrograph.Size() || minutes < 0 ||
      minutes > tc * static_cast<double>(count))
    return std::nullopt;
  const double position = minutes / tc;
  const long n = std::min(static_cast<long>(position), count);
  if (n == count)
    return r.Hydrograph(count);
  return Between(r.Hydrograph(n), r.Hydrograph(n + 1), position - static_cast<double>(n));
}

std::optional<double> OutflowAt(const Run& run, double minutes) {
  if (!run.Routing || run.Routing->States.empty())
    return std::nullopt;
  const std::vector<PondState>& states = run.Routing->States;
  if (minutes < states.front().Minutes || minutes > states.back().Minutes)
    return std::nullopt;
  const auto after =
      std::upper_bound(states.begin(), states.end(), minutes,
                       [](double t, const PondState& state) { return t < state.Minutes; });
  if (after == states.end())
    return states.back().OutflowCfs;
  const PondState& before = *(after - 1);
  return Between(before.OutflowCfs, after->OutflowCfs,
                 (minutes - before.Minutes) / (after->Minutes - before.Minutes));
}

}  // namespace

std::optional<double> MinutesAtPixel(const PlotArea& area, double x) {
  const double wide = area.Right - area.Left;
  if (!(wide > 0) || x < area.Left || x > area.Right)
    return std::nullopt;
  const double minutes = std::round(area.LastMinutes * (x - area.Left) / wide);
  return std::clamp(minutes, 0.0, area.LastMinutes);
}

RunFlows FlowsAt(const Run& run, double minutes) {
  return {InflowAt(run, minutes), OutflowAt(run, minutes)};
}

std::string ReadoutText(const std::vector<StudyRun>& runs, double minutes) {
  std::string text = "t = " + PlainNumber(minutes) + " min";
  for (const StudyRun& r : runs) {
    const RunFlows flows = FlowsAt(r.Run, minutes);
    if (!flows.InflowCfs && !flows.OutflowCfs)
      continue;
    text += "   " + RunLabel(r.Run);
    if (flows.InflowCfs)
      text += " in " + Decimals(*flows.InflowCfs, 1) + " cfs";
    if (flows.InflowCfs && flows.OutflowCfs)
      text += " ";
    if (flows.OutflowCfs)
      text += " out " + Decimals(*flows.OutflowCfs, 1) + " cfs";
  }
  return text;
}

double StepReadout(const std::vector<StudyRun>& runs, const PlotArea& area, double minutes,
                   bool later) {
  if (runs.empty())
    return minutes;
  const double tc = runs.front().Run.Inputs.TimeOfConcentration;
  if (!(tc > 0))
    return minutes;
  // A time already on an ordinate (to within rounding) steps to its neighbour.
  const double position = minutes / tc;
  const double n = later ? std::floor(position + 1e-9) + 1 : std::ceil(position - 1e-9) - 1;
  return std::clamp(n * tc, 0.0, area.LastMinutes);
}

}  // namespace rh
