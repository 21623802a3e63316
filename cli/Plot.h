// The hydrograph drawn as a chart: an SVG or PNG file for reports and screens.
#pragma once

#include <string>

#include "app/Init.h"
#include "platform/FileSystem.h"

class QPainter;
class QRectF;

namespace rh::cli {

// Chart size in pixels: readable across an A4 page (about 190 px per inch when printed full
// width) and on screen.
constexpr int kPlotWidth = 1600;
constexpr int kPlotHeight = 900;

enum class PlotFormat { Svg, Png };

// The format named by the file's extension (.svg or .png, any case); false for any other.
bool PlotFormatOf(const std::string& path, PlotFormat& format);

// The chart's title line: the five run inputs.
std::string PlotTitle(const Init& state);

// Draws the hydrograph of the run in `state` (after ComputeHydrograph) into `frame`: one bar per
// ordinate spanning its Tc step, time in minutes across, discharge in cfs up, the peak labelled
// with its value and time.
void DrawHydrograph(QPainter& painter, const QRectF& frame, const Init& state);

// The chart file's bytes.
std::string PlotBytes(const Init& state, PlotFormat format);

// Writes the chart to `path` as a whole through `files`. Needs a QGuiApplication (a GuiSession).
// Throws FileFault when the file cannot be written.
void WritePlot(const Init& state, const std::string& path, FileSystem& files);

}  // namespace rh::cli
