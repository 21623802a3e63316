#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Basins.h"
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

// The sample basin routed through `pond` in 1-minute steps.
rh::Run Routed(const TablePond& pond, const test::BasinInputs& basin = {}) {
  rh::Run run = test::ComputedBasin(basin);
  run.Inputs.Pond = std::make_shared<const TablePond>(pond);
  run.Routing = std::make_shared<const PondRouting>(RoutePond(run, pond.Table, 1));
  return run;
}

// The file's sections in order, each with its lines but comments.
std::vector<std::pair<std::string, std::vector<std::string>>> Sections(const std::string& text) {
  std::vector<std::pair<std::string, std::vector<std::string>>> sections;
  for (const std::string& line : test::SplitLines(text)) {
    if (line.rfind('[', 0) == 0)
      sections.emplace_back(line, std::vector<std::string>());
    else if (!line.empty() && line.rfind(";;", 0) != 0 && !sections.empty())
      sections.back().second.push_back(line);
  }
  return sections;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;)
    words.push_back(w);
  return words;
}

// The points of the curve `name` as the file prints them.
std::vector<SwmmCurvePoint> PrintedCurve(const std::vector<std::string>& lines,
                                         const std::string& name) {
  std::vector<SwmmCurvePoint> points;
  for (const std::string& line : lines) {
    const std::vector<std::string> w = Words(line);
    if (w.size() >= 3 && w[0] == name)
      points.push_back({std::stod(w[w.size() - 2]), std::stod(w.back())});
  }
  return points;
}

const char* const kBoxPond = R"({"name": "Box; east",
  "storage": {"box": {"bottom_ft": 50, "length_ft": 600, "width_ft": 200, "side_slope": 3,
                      "depth_ft": 6}},
  "outlets": [{"type": "orifice", "shape": "circular", "diameter_in": 24, "invert_ft": 50}]})";
// Coarse rows whose storage turns sharply, from an elevation.
const char* const kTablePond = R"({"name": "Coarse",
  "storage": {"table": [[10, 0], [11, 2], [12, 5], [14, 16]]},
  "outlets": [{"type": "orifice", "shape": "circular", "diameter_in": 24, "invert_ft": 10.5}]})";

// The file as SWMM reads it, for ponds of every storage form: its sections in SWMM's order; the
// storage node at the rating's first stage, as deep as the rating; the printed storage curve
// integrating to the rating's storage at every row, and the printed rating curve its outflow; the
// pond named in the title without SWMM's comment mark; the time series the inflow the routing
// takes, an ordinate at every Tc to the first zero after the last one that is not zero, however
// long the hydrograph's tail of zeros.
TEST(SwmmInputText, ThePrintedCurvesGiveBackTheRatingForEveryStorageForm) {
  const TablePond csv =
      ReadPondTable(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv"), "data/example-pond.csv");
  const struct {
    const char* name;
    TablePond pond;
    const char* title;
    test::BasinInputs basin;
  } cases[] = {
      {"a CSV table", csv, "example-pond.csv", {10, 2.5, 100, .85, 250, true}},
      {"contours",
       ReadPondJson(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.json"), "p.json"),
       "Example pond",
       {}},
      {"a box", ReadPondJson(kBoxPond, "box.json"), "Box, east", {45, 2.5, 100, .85, 123.45}},
      {"a storage table", ReadPondJson(kTablePond, "table.json"), "Coarse", {}},
  };
  const std::vector<std::string> order = {"[TITLE]",   "[OPTIONS]",    "[STORAGE]", "[OUTFALLS]",
                                          "[OUTLETS]", "[INFLOWS]",    "[CURVES]",  "[TIMESERIES]",
                                          "[REPORT]",  "[COORDINATES]"};
  for (const auto& c : cases) {
    const rh::Run run = Routed(c.pond, c.basin);
    const auto sections = Sections(SwmmInputText(run, "pond.inp"));
    std::vector<std::string> names;
    names.reserve(sections.size());
    for (const auto& section : sections)
      names.push_back(section.first);
    ASSERT_EQ(names, order) << c.name;
    const std::vector<PondRow>& rows = c.pond.Table.Rows();
    const std::string& title = sections[0].second.at(0);
    EXPECT_EQ(title.substr(title.size() - std::string(c.title).size()), c.title) << c.name;

    const std::vector<std::string> node = Words(sections[2].second.at(0));
    ASSERT_EQ(node.size(), 8u) << c.name;
    EXPECT_EQ(std::stod(node[1]), rows.front().StageFeet) << c.name;
    EXPECT_NEAR(std::stod(node[2]), rows.back().StageFeet - rows.front().StageFeet, 1e-9) << c.name;

    const std::vector<SwmmCurvePoint> area = PrintedCurve(sections[6].second, "PondArea");
    const std::vector<SwmmCurvePoint> rating = PrintedCurve(sections[6].second, "PondRating");
    ASSERT_EQ(rating.size(), rows.size()) << c.name;
    ASSERT_GE(area.size(), rows.size()) << c.name;
    EXPECT_EQ(area.back().DepthFeet, std::stod(node[2])) << c.name;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const double storage = rows[i].StorageAcreFeet * kCubicFeetPerAcreFoot;
      EXPECT_NEAR(SwmmVolume(area, rating[i].DepthFeet), storage, 1e-8 * storage + 1e-6)
          << c.name << ", row " << i;
      EXPECT_NEAR(rating[i].Value, rows[i].OutflowCfs, 1e-9 * rows[i].OutflowCfs + 1e-12)
          << c.name << ", row " << i;
    }

    const std::vector<std::string>& series = sections[7].second;
    const double tc = c.basin.tc;
    EXPECT_EQ(static_cast<double>(series.size() - 1) * tc, run.Routing->InflowEndMinutes) << c.name;
    for (std::size_t k = 0; k < series.size(); ++k) {
      const std::vector<std::string> w = Words(series[k]);
      const std::string& time = w.at(1);  // h:mm
      EXPECT_EQ(time.size() - time.find(':'), 3u) << time;
      EXPECT_EQ(std::stod(time) * 60 + std::stod(time.substr(time.find(':') + 1)),
                static_cast<double>(k) * tc)
          << time;
      EXPECT_EQ(std::stod(w.at(2)), run.Result.Hydrograph(static_cast<long>(k))) << series[k];
    }
  }
}

// The simulation ends on SWMM's calendar (2000 and 2400 leap years, 2100 not), and a routing that
// would end past the year 9999 is refused.
TEST(SwmmInputText, TheEndOfRoutingOnTheCalendar) {
  const rh::Run routed =
      Routed(ReadPondTable(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv"), "p.csv"));
  constexpr double kDay = 1440;
  // Days from 01/01/2000 to 01/01/10000: 8000 years, 1940 of them leap years.
  constexpr double kCalendar = (8000 * 365 + 1940) * kDay;
  const struct {
    double minutes;
    const char* date;
    const char* time;
  } cases[] = {
      {790, "01/01/2000", "13:10:00"},
      {59 * kDay + 1439, "02/29/2000", "23:59:00"},
      {60 * kDay, "03/01/2000", "00:00:00"},
      {366 * kDay, "01/01/2001", "00:00:00"},
      {(36525 + 59) * kDay, "03/01/2100", "00:00:00"},
      {(146097 + 59) * kDay, "02/29/2400", "00:00:00"},
      {kCalendar - 1, "12/31/9999", "23:59:00"},
      {kCalendar, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    rh::Run run = routed;
    PondRouting routing = *routed.Routing;
    routing.EndMinutes = c.minutes;
    run.Routing = std::make_shared<const PondRouting>(routing);
    if (c.date == nullptr) {
      EXPECT_THROW(SwmmInputText(run, "pond.inp"), FileFault);
      continue;
    }
    const std::string end =
        std::string("\nEND_DATE            ") + c.date + "\nEND_TIME            " + c.time + "\n";
    EXPECT_NE(SwmmInputText(run, "pond.inp").find(end), std::string::npos) << end;
  }
}

// The file needs a routed run, and stages a storage curve can tell apart; the refusal names it.
TEST(SwmmInputText, RefusesWhatSwmmCannotRead) {
  EXPECT_THROW(SwmmInputText(rh::Run{}, "pond.inp"), FileFault);
  // Two stages a hair apart that both print as a depth of 1 ft, the first printed above the
  // second: no depth on the curve tells them apart.
  const TablePond close{PondTable({{0, 0, 0}, {0.99999999996, 1, 1}, {0.99999999998, 1.5, 1}}),
                        "close.csv", "close.csv", nullptr};
  rh::Run run = test::ComputedBasin({});
  run.Inputs.Pond = std::make_shared<const TablePond>(close);
  run.Routing = std::make_shared<const PondRouting>();
  try {
    SwmmInputText(run, "out/pond.inp");
    ADD_FAILURE() << "written";
  } catch (const FileFault& fault) {
    EXPECT_EQ(std::string(fault.what()).rfind("Cannot write out/pond.inp: ", 0), 0u)
        << fault.what();
  }
}

}  // namespace
}  // namespace rh
