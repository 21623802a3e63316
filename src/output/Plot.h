// The hydrograph as a chart: the same picture in the window, in SVG files and in PNG files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Hydrograph.h"
#include "platform/Drawing.h"

namespace rh {

// Size of the chart files, pixels: readable across an A4 page (about 190 px per inch when printed
// full width) and on screen.
constexpr int kPlotWidth = 1600;
constexpr int kPlotHeight = 900;

enum class PlotFormat { Svg, Png };

// The format named by a file's extension (.svg or .png, any case); none for any other name.
std::optional<PlotFormat> PlotFormatOf(const std::string& path);

// The chart's title line: the five run inputs.
std::string PlotTitle(const RunInputs& inputs);

// The chart of `run` at `width` x `height` pixels: the hydrograph as a line through its ordinates
// (HEC-1 reads an inflow hydrograph the same way, straight between ordinates), the peak marked and
// labelled with its value and time, time in minutes across and discharge in cfs up; along the top,
// the rainfall blocks of the design storm as an inverted bar hyetograph with its intensity scale
// (in/hr) on the right. A run routed through a pond also shows the outflow, its peak marked and
// labelled, and its maximum stage in the line under the title. With `allowableCfs`, the release the
// outflow is held to is a dashed line across the plot in the outflow's colour, named in the
// legend. Sizes are given for the 1600 x 900 chart and scale with the height. Throws
// ArithmeticFault when the ranges of the chart do not exist as numbers (overflow).
Drawing PlotDrawing(const Run& run, double width = kPlotWidth, double height = kPlotHeight,
                    std::optional<double> allowableCfs = std::nullopt);

// How an overlay names a run: its return period ("100-yr"), or its 6-hour rainfall when it has
// none ("P6 2.5 in").
std::string RunLabel(const Run& run);

// Several runs of one basin on one chart (the return periods of a rainfall table): each run's
// hydrograph in a colour of its own with its peak marked, and its routed outflow when it has one
// (the inflows then drawn lighter), named in a legend by RunLabel with their peaks and maximum
// stages. `allowableCfs[i]`, where there is one, is run i's allowable release: a dashed line
// across the plot in the run's colour, named in the legend after the run's lines. The runs are
// borrowed for the call. Throws as the chart of one run.
Drawing PlotDrawing(const std::vector<const Run*>& runs, double width = kPlotWidth,
                    double height = kPlotHeight,
                    const std::vector<std::optional<double>>& allowableCfs = {});

// Where a chart's plot lies in the picture, pixels, and the time and discharge at its edges: time
// from 0 at the left edge to LastMinutes at the right, discharge from LowCfs at the bottom to
// HighCfs at the top.
struct PlotArea {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  double LastMinutes = 1;
  double LowCfs = 0, HighCfs = 1;
};

// The plot area of PlotDrawing(runs, width, height, allowableCfs), and of the chart of a single
// run when `runs` holds only it. Throws as the chart.
PlotArea PlotAreaOf(const std::vector<const Run*>& runs, double width, double height,
                    const std::vector<std::optional<double>>& allowableCfs = {});

}  // namespace rh
