#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/tables/PondFile.h"
#include "app/tables/PondJson.h"
#include "core/Faults.h"
#include "engine/Pond.h"
#include "output/SwmmInput.h"

namespace rh {
namespace {

// SWMM 5.2's volume of a tabular storage curve at `depth` within it (table_getStorageVolume): the
// areas straight between the points, integrated from depth 0 by the average-end-area rule.
double SwmmVolume(const std::vector<SwmmCurvePoint>& curve, double depth) {
  double volume = 0;
  for (std::size_t k = 1; k < curve.size() && depth > curve[k - 1].DepthFeet; ++k) {
    const SwmmCurvePoint& a = curve[k - 1];
    const SwmmCurvePoint& b = curve[k];
    const double top = std::min(depth, b.DepthFeet);
    const double areaTop =
        a.Value + (b.Value - a.Value) * (top - a.DepthFeet) / (b.DepthFeet - a.DepthFeet);
    volume += (a.Value + areaTop) / 2 * (top - a.DepthFeet);
  }
  return volume;
}

// Storage that rises by `shares` ac-ft a foot, row after row, from stage 0.
PondTable Steps(const std::vector<double>& shares) {
  std::vector<PondRow> rows = {{0, 0, 0}};
  for (double share : shares)
    rows.push_back({rows.back().StageFeet + 1, rows.back().StorageAcreFeet + share,
                    rows.back().OutflowCfs + 1});
  return PondTable(rows);
}

PondTable Cone() {
  std::vector<PondRow> rows;
  for (int i = 0; i <= 10; ++i)
    rows.push_back({100 + i / 10.0, std::pow(i / 10.0, 3), i / 10.0});
  return PondTable(rows);
}

// SWMM's integration of the storage curve gives back the table's storage at every row, from areas
// that are never negative, at depths that rise from 0; points between rows come where the storage
// turns too sharply for the rows alone.
TEST(SwmmStorageCurve, GivesBackTheStorageAtEveryRow) {
  const PondTable csv =
      ReadPondTable(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv"), "p.csv").Table;
  const PondTable json =
      ReadPondJson(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.json"), "p.json").Table;
  struct {
    const char* name;
    PondTable pond;
    bool pointsBetweenRows;
  } cases[] = {
      {"the example table: half-foot rows, rounded storage", csv, false},
      // The conic rule's storage rises faster just above a contour than just below it: the two
      // intervals beside the contour at 104 ft get a point each.
      {"the example pond file: 0.01-ft rows of conic storage", json, true},
      {"mean areas of 10, 1, 10, 1 acres", Steps({10, 1, 10, 1}), true},
      {"two rows", PondTable({{5, 0, 0}, {6, 1, 3}}), false},
      {"a cone from its point", Cone(), true},
      {"rows a hair apart, the upper depth unrounded",
       PondTable({{0, 0, 0}, {1, 1, 1}, {1 + 1e-12, 1 + 1e-12, 1}}), false},
  };
  for (const auto& c : cases) {
    const std::vector<PondRow>& rows = c.pond.Rows();
    const std::vector<SwmmCurvePoint> curve = SwmmStorageCurve(c.pond);
    ASSERT_GE(curve.size(), rows.size()) << c.name;
    EXPECT_EQ(curve.size() > rows.size(), c.pointsBetweenRows) << c.name;
    EXPECT_EQ(curve.front().DepthFeet, 0) << c.name;
    for (std::size_t k = 0; k < curve.size(); ++k) {
      EXPECT_GE(curve[k].Value, 0) << c.name << ", point " << k;
      if (k > 0) {
        EXPECT_GT(curve[k].DepthFeet, curve[k - 1].DepthFeet) << c.name << ", point " << k;
      }
    }
    // The rating's depths are the storage curve's at its rows.
    const std::vector<SwmmCurvePoint> rating = SwmmRatingCurve(c.pond);
    ASSERT_EQ(rating.size(), rows.size()) << c.name;
    EXPECT_EQ(rating.back().DepthFeet, curve.back().DepthFeet) << c.name;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const double depth = rating[i].DepthFeet;
      EXPECT_NEAR(depth, rows[i].StageFeet - rows[0].StageFeet, 1e-9) << c.name << ", row " << i;
      EXPECT_TRUE(std::any_of(curve.begin(), curve.end(),
                              [&](const SwmmCurvePoint& p) { return p.DepthFeet == depth; }))
          << c.name << ", row " << i;
      const double storage = rows[i].StorageAcreFeet * kCubicFeetPerAcreFoot;
      EXPECT_NEAR(SwmmVolume(curve, depth), storage, 1e-9 * storage + 1e-9)
          << c.name << ", row " << i;
      EXPECT_NEAR(rating[i].Value, rows[i].OutflowCfs, 1e-9 * rows[i].OutflowCfs)
          << c.name << ", row " << i;
    }
  }
}

// The file needs a routed run.
TEST(SwmmInputText, RefusesARunWithoutAPond) {
  EXPECT_THROW(SwmmInputText(rh::Run{}, "pond.inp"), FileFault);
}

}  // namespace
}  // namespace rh
