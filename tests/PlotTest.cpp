#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Basins.h"
#include "core/Faults.h"
#include "output/Plot.h"

namespace rh {
namespace {

// Every number of a shape that is drawn.
template <typename Check>
void ForEachCoordinate(const Drawing& d, Check check) {
  for (const Shape& shape : d.shapes) {
    if (const auto* line = std::get_if<LineShape>(&shape)) {
      for (const double v : {line->from.x, line->from.y, line->to.x, line->to.y})
        check(v);
    } else if (const auto* poly = std::get_if<PolylineShape>(&shape)) {
      for (const Point& p : poly->points) {
        check(p.x);
        check(p.y);
      }
    } else if (const auto* rect = std::get_if<RectShape>(&shape)) {
      for (const double v : {rect->left, rect->top, rect->width, rect->height})
        check(v);
    } else if (const auto* text = std::get_if<TextShape>(&shape)) {
      check(text->at.x);
      check(text->at.y);
    }
  }
}

// Whatever a run that passed the run request holds, the chart is made in bounded time and size
// with finite coordinates, or the range itself does not exist as a number and it is the overflow
// fault.
TEST(Plot, BoundedForEveryRun) {
  struct {
    const char* name;
    test::BasinInputs basin;
    bool overflows;
  } cases[] = {
      {"sample", {10, 2.5, 100, 0.85, 250}, false},
      {"time of concentration near the double range", {8e307, 2.5, 100, 0.85, 250}, false},
      {"denormal peak", {10, 0, 100, 0.85, 5e-324}, false},
      {"all zero", {10, 0, 100, 0.85, 0}, false},
      {"negative", {10, -2.5, 100, 0.85, -250}, false},
      {"ordinates spanning more than the double range", {10, 2.5, 100, 0.85, 250}, true},
  };
  for (const auto& c : cases) {
    rh::Run run = test::ComputedBasin(c.basin);
    if (c.overflows) {
      run.Result.Hydrograph(1) = -1.5e308;
      run.Result.Hydrograph(run.Result.PeakIndex) = 1.5e308;
    }
    if (c.overflows) {
      EXPECT_THROW(PlotDrawing(run), ArithmeticFault) << c.name;
      continue;
    }
    const Drawing d = PlotDrawing(run);
    long texts = 0;
    for (const Shape& shape : d.shapes)
      texts += std::holds_alternative<TextShape>(shape) ? 1 : 0;
    EXPECT_LT(texts, 100) << c.name << ": a few dozen ticks at most";
    ForEachCoordinate(d, [&](double v) { EXPECT_TRUE(std::isfinite(v)) << c.name; });
  }
}

TEST(Plot, FormatFromTheFileName) {
  EXPECT_EQ(PlotFormatOf("a/basin.SVG"), PlotFormat::Svg);
  EXPECT_EQ(PlotFormatOf("basin.png"), PlotFormat::Png);
  for (const char* other : {"basin.pdf", ".png", "png", "basin.png.txt"})
    EXPECT_FALSE(PlotFormatOf(other)) << other;
}

// Every line of text stays inside the picture, however narrow the window the chart is drawn in.
// Every line stays inside the chart at any width, at no less than the size of its tick labels.
TEST(Plot, TextFitsNarrowWindows) {
  for (const double width : {500.0, 700.0, 1200.0, 1600.0}) {
    const Drawing d = PlotDrawing(test::ComputedBasin({10, 2.5, 100, 0.85, 250}), width, 900);
    for (const Shape& shape : d.shapes) {
      const auto* text = std::get_if<TextShape>(&shape);
      if (text == nullptr || text->degrees != 0)
        continue;
      const double wide = ApproximateTextWidth(text->text, text->pixelSize, text->bold);
      const double left = text->align == TextAlign::Left     ? text->at.x
                          : text->align == TextAlign::Centre ? text->at.x - wide / 2
                                                             : text->at.x - wide;
      EXPECT_GE(left, 0) << width << ": " << text->text;
      EXPECT_LE(left + wide, width) << width << ": " << text->text;
      // Text too long for its room is cut, not shrunk below the chart's smallest size.
      EXPECT_GE(text->pixelSize, 19) << width << ": " << text->text;
    }
  }
}

}  // namespace
}  // namespace rh
