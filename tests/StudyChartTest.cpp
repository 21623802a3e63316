// The study chart's allowable releases and the readout of its flows under the pointer.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "engine/Pond.h"
#include "output/ChartReadout.h"
#include "output/StudyDocument.h"

namespace rh {
namespace {

const std::optional<double> kNone;

// A run of the return period `ari`: the hydrograph `ordinates` every 10 min and, when given, the
// routed outflow every 5 min.
StudyRun MadeRun(const char* ari, const std::vector<double>& ordinates,
                 const std::vector<double>& outflow = {}) {
  Run run;
  run.Inputs.TimeOfConcentration = 10;
  run.Inputs.Rainfall = std::make_shared<TableRainfall>(
      TableRainfall{DepthDurationTable({{5, 1}, {400, 8}}), "atlas.csv", ari, "atlas.csv"});
  const auto size = static_cast<long>(ordinates.size());
  run.Result.Hydrograph.Reset(size);
  run.Result.Hyetograph.Reset(size);
  run.Result.OrdinateCount = static_cast<std::int32_t>(size - 1);
  for (long n = 0; n < size; ++n)
    run.Result.Hydrograph(n) = ordinates[static_cast<std::size_t>(n)];
  if (!outflow.empty()) {
    auto routing = std::make_shared<PondRouting>();
    for (const double cfs : outflow) {
      PondState state;
      state.Minutes = 5.0 * static_cast<double>(routing->States.size());
      state.OutflowCfs = cfs;
      routing->States.push_back(state);
    }
    routing->EndMinutes = routing->States.back().Minutes;
    run.Routing = routing;
  }
  return {std::move(run), {}};
}

// The 10-year storm to 40 min, routed to 60 min; the 100-year to 50 min, not routed.
const std::vector<StudyRun> kRuns = {
    MadeRun("10", {0, 10, 30, 20, 0}, {0, 1, 2, 3, 5, 8, 9, 8, 6, 4, 2, 1, 0}),
    MadeRun("100", {0, 20, 60, 40, 10, 0})};

double YAt(const PlotArea& a, double cfs) {
  return a.Bottom - (a.Bottom - a.Top) * (cfs - a.LowCfs) / (a.HighCfs - a.LowCfs);
}

// Each allowable release is a dashed line across the plot at its flow, in the colour of its run's
// own line (the outflow when routed), named in the legend; one above every flow stretches the plot.
// The hydrographs are drawn inside the plot area the readout reads.
TEST(StudyChart, DrawsEachAllowableReleaseAsADashedLine) {
  const std::vector<StudyRun> one(kRuns.begin(), kRuns.begin() + 1);
  const struct {
    const std::vector<StudyRun>& runs;
    std::size_t run;  // the one with an allowable release
    std::vector<std::optional<double>> allowable;
    std::size_t ownLinePoints;
    const char* legend;
  } cases[] = {
      {kRuns, 0, {7.5, kNone}, 13, "10-yr allowable, 7.5 cfs"},
      {kRuns, 1, {kNone, 250}, 6, "100-yr allowable, 250 cfs"},
      {one, 0, {7.5}, 13, "Allowable release, 7.5 cfs"},
  };
  for (const auto& c : cases) {
    const Drawing d = StudyChart(c.runs, 1000, 600, c.allowable);
    const PlotArea area = StudyChartArea(c.runs, 1000, 600, c.allowable);
    const double y = YAt(area, *c.allowable[c.run]);
    std::optional<Color> own;
    std::vector<LineShape> across;  // level lines at the allowable release
    bool named = false;
    for (const Shape& s : d.shapes) {
      if (const auto* line = std::get_if<PolylineShape>(&s)) {
        if (line->points.size() == c.ownLinePoints && !own)
          own = line->color;
        for (std::size_t n = 0; n < line->points.size() && line->points.size() < 13; ++n)
          EXPECT_EQ(MinutesAtPixel(area, line->points[n].x), 10.0 * static_cast<double>(n));
      }
      const auto* line = std::get_if<LineShape>(&s);
      if (line != nullptr && std::fabs(line->from.y - y) < 1e-6 && line->to.y == line->from.y)
        across.push_back(*line);
      const auto* text = std::get_if<TextShape>(&s);
      named = named || (text != nullptr && text->text == c.legend);
    }
    ASSERT_TRUE(own) << c.legend;
    std::vector<LineShape> dashes;
    for (const LineShape& line : across) {
      if (line.color.red == own->red && line.color.green == own->green &&
          line.color.blue == own->blue)
        dashes.push_back(line);
    }
    EXPECT_TRUE(named) << c.legend;
    EXPECT_GE(y, area.Top) << c.legend;
    ASSERT_GE(dashes.size(), 10u) << c.legend;
    EXPECT_DOUBLE_EQ(dashes.front().from.x, area.Left) << c.legend;
    EXPECT_DOUBLE_EQ(dashes.back().to.x, area.Right) << c.legend;
    for (std::size_t k = 1; k < dashes.size(); ++k)
      EXPECT_LT(dashes[k - 1].to.x, dashes[k].from.x) << c.legend << ": gaps between dashes";
  }
  // Return periods without an allowable release draw the chart as without any.
  EXPECT_EQ(DrawingSvg(StudyChart(kRuns, 1000, 600, {kNone, kNone})),
            DrawingSvg(StudyChart(kRuns, 1000, 600)));
}

TEST(ChartReadout, TimeUnderThePointerAndItsOrdinateSteps) {
  const PlotArea area{100, 50, 700, 450, 60, 0, 500};
  const struct {
    double x;
    std::optional<double> minutes;
  } pixels[] = {{100, 0}, {700, 60}, {400, 30}, {115.1, 2}, {99.9, kNone}, {700.1, kNone}};
  for (const auto& c : pixels)
    EXPECT_EQ(MinutesAtPixel(area, c.x), c.minutes) << c.x;
  const struct {
    double from;
    bool later;
    double to;
  } steps[] = {{15, true, 20}, {20, true, 30}, {15, false, 10}, {20, false, 10},
               {0, false, 0},  {60, true, 60}, {55, true, 60}};
  for (const auto& c : steps)
    EXPECT_EQ(StepReadout(kRuns, area, c.from, c.later), c.to) << c.from << " " << c.later;
}

TEST(ChartReadout, FlowsStraightBetweenOrdinatesAndStates) {
  const struct {
    double minutes;
    std::optional<double> in10, out10, in100;
  } cases[] = {
      {0, 0, 0, 0},
      {12.5, 15, 2.5, 30},
      {40, 0, 6, 10},
      {47.5, kNone, 3, 2.5},
      {60, kNone, 0, kNone},
      {-5, kNone, kNone, kNone},
      {61, kNone, kNone, kNone},
  };
  for (const auto& c : cases) {
    const RunFlows routed = FlowsAt(kRuns[0].Run, c.minutes);
    EXPECT_EQ(routed.InflowCfs, c.in10) << c.minutes;
    EXPECT_EQ(routed.OutflowCfs, c.out10) << c.minutes;
    EXPECT_EQ(FlowsAt(kRuns[1].Run, c.minutes).InflowCfs, c.in100) << c.minutes;
    EXPECT_EQ(FlowsAt(kRuns[1].Run, c.minutes).OutflowCfs, kNone) << c.minutes;
  }
  EXPECT_EQ(ReadoutText(kRuns, 15),
            "t = 15 min   10-yr in 20.0 cfs  out 3.0 cfs   100-yr in 40.0 cfs");
  EXPECT_EQ(ReadoutText(kRuns, 55), "t = 55 min   10-yr out 1.0 cfs");
}

}  // namespace
}  // namespace rh
