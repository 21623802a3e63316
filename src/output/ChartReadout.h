// What the chart of a study's runs reads at one time: the time under the pointer and each run's
// inflow and outflow then, as the study window shows them under its chart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "output/Plot.h"
#include "output/StudyDocument.h"

namespace rh {

// The time under pixel column `x` of a chart whose plot is `area`, to the whole minute (a pixel
// spans a minute or more of a design storm, and the routing steps are whole minutes), kept within
// the plot's time; none when `x` lies outside the plot.
std::optional<double> MinutesAtPixel(const PlotArea& area, double x);

// A run's flows at one time, cfs: the hydrograph straight between its ordinates and the routed
// outflow straight between its states, as the chart draws them. Either is none at a time the
// chart draws no line for it (before 0, after its last ordinate or state, or no pond).
struct RunFlows {
  std::optional<double> InflowCfs;
  std::optional<double> OutflowCfs;
};
RunFlows FlowsAt(const Run& run, double minutes);

// The readout at `minutes`: "t = 245 min   10-yr in 312.4 cfs  out 88.1 cfs   100-yr in ...",
// each run named as the chart's legend names it; a run with no line at that time is left out.
std::string ReadoutText(const std::vector<StudyRun>& runs, double minutes);

// One ordinate step from `minutes` on the chart whose plot is `area`: the next ordinate after it
// (`later`) or the one before it, kept within the plot's time. The runs of a study share their
// time of concentration; the first run's is the step. `minutes` itself without runs.
double StepReadout(const std::vector<StudyRun>& runs, const PlotArea& area, double minutes,
                   bool later);

}  // namespace rh
