#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Basins.h"
#include "Bounded.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "app/run/PreparedRun.h"
#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "engine/Rainfall.h"

namespace rh {
namespace {

const std::string kSample = test::ReadFile(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");

std::int64_t UlpsApart(double a, double b) {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x > y ? x - y : y - x;
}

// A table drawn from the chart's own depth-duration curve, which is a power law, so log-log
// interpolation must give the chart back between the rows.
TEST(DepthDurationTable, ReproducesTheChartBetweenRows) {
  std::vector<DepthDuration> points;
  for (const double minutes : {5, 10, 15, 30, 60, 120, 180, 360, 720, 1440})
    points.push_back({minutes, ChartDepth(2.5, minutes)});
  const DepthDurationTable table(points);
  for (int i = 0; i <= 2000; ++i) {
    const double minutes = 5 * std::pow(1440.0 / 5, i / 2000.0);
    EXPECT_LE(UlpsApart(table.Depth(minutes), ChartDepth(2.5, minutes)), 6) << minutes;
    EXPECT_LE(UlpsApart(table.Intensity(minutes), ChartIntensity(2.5, minutes)), 6) << minutes;
  }
  for (const double outside : {4.999, 1440.01, 0.0, -5.0})
    EXPECT_THROW(table.Depth(outside), SubscriptFault) << outside;
}

TEST(DepthDurationTable, RefusesPointsItCannotInterpolate) {
  const std::vector<std::vector<DepthDuration>> cases = {
      {{5, 1}},                     // one point
      {{5, 1}, {5, 2}},             // same duration
      {{10, 1}, {5, 2}},            // duration falls
      {{5, 1}, {10, 1}},            // same depth
      {{5, 0}, {10, 1}},            // zero depth
      {{0, 0.5}, {10, 1}},          // zero duration
      {{5, 1}, {INFINITY, 2}},      // infinite duration
      {{5, 1}, {10, std::nan("")}}  // NaN depth
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_THROW(DepthDurationTable{cases[i]}, ArithmeticFault) << "case " << i;
}

// Hand arithmetic, ln d = ln d1 + ln(D / D1) x ln(d2 / d1) / ln(D2 / D1), I = d x 60 / D:
// ARI 10, 20 min between 15 min (1.47 in) and 30 min (2.37 in):
//   0.287682 x 0.477628 / 0.693147 = 0.198233; d = 1.47 x e^0.198233 = 1.792293 in;
//   I = 1.792293 x 3 = 5.376879 in/hr.
// ARI 10, 90 min between 60 min (3.13 in) and 2 hr (3.90 in):
//   0.405465 x 0.219944 / 0.693147 = 0.128659; d = 3.13 x e^0.128659 = 3.559755 in;
//   I = 3.559755 x 60 / 90 = 2.373170 in/hr.
// ARI 100, 4 hr between 3 hr (6.11 in) and 6 hr (7.75 in):
//   0.287682 x 0.237766 / 0.693147 = 0.098682; d = 6.11 x e^0.098682 = 6.743699 in;
//   I = 6.743699 / 4 = 1.685925 in/hr.
TEST(RainfallTables, ReadsTheAtlas14Export) {
  const RainfallTables tables = ReadRainfallTables(kSample, "fort-myers.csv");
  EXPECT_EQ(tables.ReturnPeriods(),
            (std::vector<double>{1, 2, 5, 10, 25, 50, 100, 200, 500, 1000}));
  // The preamble's atlas volume and place, its "None" fields left out; the coordinates only when
  // it names no place.
  EXPECT_EQ(tables.Location(),
            "NOAA Atlas 14 Volume 9 Version 2, Latitude: 26.6 Degree, Longitude: -81.9 Degree");
  std::string named = kSample;
  named.replace(named.find("Location name (ESRI Maps): None"), 31,
                "Location name (ESRI Maps): Fort Myers, Florida, USA");
  EXPECT_EQ(ReadRainfallTables(named, "f.csv").Location(),
            "NOAA Atlas 14 Volume 9 Version 2, Location name (ESRI Maps): Fort Myers, Florida, "
            "USA");
  struct {
    double years;
    std::vector<DepthDuration> rows;     // from the file
    std::vector<DepthDuration> between;  // minutes, in/hr worked out above
  } cases[] = {
      {10,
       {{5, 0.822}, {60, 3.13}, {120, 3.90}, {1440, 7.28}, {10080, 11.4}},
       {{20, 5.376879}, {90, 2.373170}}},
      {100.0, {{5, 1.15}, {15, 2.05}, {360, 7.75}, {4320, 14.8}, {10080, 17.5}}, {{240, 1.685925}}},
  };
  for (const auto& c : cases) {
    const DepthDurationTable table = tables.Table(c.years);
    EXPECT_EQ(table.Points().size(), 14U);
    for (const DepthDuration& row : c.rows)
      EXPECT_EQ(table.Depth(row.Minutes), row.Inches) << c.years << " yr at " << row.Minutes;
    for (const DepthDuration& at : c.between)
      EXPECT_NEAR(table.Intensity(at.Minutes), at.Inches, 5e-6) << c.years << " yr " << at.Minutes;
  }
}

// The same export re-saved with CR LF and a byte-order mark, with confidence bounds after the
// estimates and rows padded with commas as a spreadsheet writes them, reads as the original.
TEST(RainfallTables, ReadsResavedExportsAlike) {
  std::string resaved = "\xEF\xBB\xBF";
  for (const std::string& line : test::SplitLines(kSample))
    resaved += line + (line.rfind("5-min:", 0) == 0 ? ",,\r\n" : "\r\n");
  resaved +=
      "Upper bound of the 90% confidence interval\r\n"
      "by duration for ARI (years):, 1,2,5,10,25,50,100,200,500,1000\r\n"
      "5-min:, 9,9,9,9,9,9,9,9,9,9\r\n10-min:, 10,10,10,10,10,10,10,10,10,10\r\n";
  const RainfallTables original = ReadRainfallTables(kSample, "a.csv");
  const RainfallTables again = ReadRainfallTables(resaved, "a.csv");
  EXPECT_EQ(again.Minutes(), original.Minutes());
  EXPECT_EQ(again.Location(), original.Location());
  for (const double years : original.ReturnPeriods()) {
    const std::vector<DepthDuration> a = original.Table(years).Points();
    const std::vector<DepthDuration> b = again.Table(years).Points();
    for (std::size_t i = 0; i < a.size(); ++i)
      EXPECT_EQ(a[i].Inches, b[i].Inches) << years << " yr row " << i;
  }
}

TEST(RainfallTables, PicksAColumnOrSaysWhichExist) {
  const RainfallTables atlas = ReadRainfallTables(kSample, "a.csv");
  const RainfallTables single =
      ReadRainfallTables("by duration for ARI (years):, 25\n5-min:, 0.9\n10-min:, 1.4\n", "b.csv");
  const RainfallTables plain = ReadRainfallTables("duration_min,depth_in\n5,0.5\n60,2\n", "c.csv");
  EXPECT_EQ(atlas.Table(ParseReturnPeriod("100.0")).Depth(5), 1.15);
  EXPECT_EQ(single.Table(std::nullopt).Depth(10), 1.4);
  EXPECT_EQ(single.Table(25).Depth(10), 1.4);
  EXPECT_EQ(plain.Table(std::nullopt).Depth(60), 2);
  for (const std::optional<double> years : {std::optional<double>(), std::optional<double>(3)}) {
    try {
      atlas.Table(years);
      ADD_FAILURE() << "no usage error";
    } catch (const RainfallUsageError& e) {
      EXPECT_NE(std::string(e.what()).find("1, 2, 5, 10, 25, 50, 100, 200, 500, 1000"),
                std::string::npos)
          << e.what();
    }
  }
  EXPECT_THROW(single.Table(100), RainfallUsageError);
  EXPECT_THROW(plain.Table(100), RainfallUsageError);

  for (const char* bad : {"", "abc", "0", "-10", "inf", "nan", "1e999", "10yr", "0x10"})
    EXPECT_FALSE(ParseReturnPeriod(bad).has_value()) << bad;
  EXPECT_EQ(ParseReturnPeriod(" 2.33 "), 2.33);
}

TEST(RainfallTables, RefusalsNameTheLine) {
  using namespace std::string_literals;
  const std::string type = "Data type: Precipitation depth\n";
  const std::string periods = "by duration for ARI (years):, ";
  const std::string head = type + periods + "2,10\n";
  const std::string row5 = "5-min:, 0.6,0.8\n";
  const std::string row10 = "10-min:, 0.9,1.2\n";
  struct {
    const char* name;
    std::string text;
    const char* where;  // how the message must start
  } cases[] = {
      {"empty", "", "r.csv: "},
      {"blank lines only", "\r\n , \r\n", "r.csv: "},
      {"NUL byte", "duration_min,depth_in\n5,0\0005\n"s, "r.csv, line 2: "},
      {"no table", "Point precipitation frequency estimates (inches)\nnothing\n",
       "r.csv, line 1: "},
      {"plain, wrong header", "\nduration_min,depth_mm\n5,1\n10,2\n", "r.csv, line 2: "},
      {"plain, three fields", "duration_min,depth_in\n5,1\n10,2,3\n", "r.csv, line 3: "},
      {"plain, zero duration", "duration_min,depth_in\n0,1\n10,2\n", "r.csv, line 2: "},
      {"plain, one row", "duration_min,depth_in\n5,1\n", "r.csv, line 1: "},
      {"plain, duration falls", "duration_min,depth_in\n10,1\n5,2\n", "r.csv, line 3: "},
      {"intensities", "Data type: Precipitation intensity\n" + periods + "2,10\n" + row5 + row10,
       "r.csv, line 1: "},
      {"millimetres",
       "Point precipitation frequency estimates (millimeters)\n" + head + row5 + row10,
       "r.csv, line 1: "},
      {"return period not a number", type + periods + "2,x\n" + row5 + row10, "r.csv, line 2: "},
      {"return period twice", type + periods + "2,2.0\n" + row5 + row10, "r.csv, line 2: "},
      {"row label", head + row5 + "10 min:, 0.9,1.2\n", "r.csv, line 4: "},
      {"too few depths", head + row5 + "10-min:, 0.9\n", "r.csv, line 4: "},
      {"depth not a number", head + row5 + "10-min:, 0.9,1.2.1\n", "r.csv, line 4: "},
      {"depth zero", head + "5-min:, 0,0.8\n" + row10, "r.csv, line 3: "},
      {"depth negative", head + "5-min:, 0.6,-0.8\n" + row10, "r.csv, line 3: "},
      {"depth does not rise", head + row5 + "10-min:, 0.9,0.8\n", "r.csv, line 4: "},
      {"duration does not rise", head + row10 + "10-min:, 1.3,1.5\n", "r.csv, line 4: "},
      {"hours after days", head + "1-day:, 5,6\n" + "2-hr:, 6,7\n", "r.csv, line 4: "},
      {"one row", head + row5 + "\n" + row10, "r.csv, line 2: "},
      {"text straight after the rows", head + row5 + row10 + "Date/time (GMT): Sun\n",
       "r.csv, line 5: "},
  };
  for (const auto& c : cases) {
    try {
      ReadRainfallTables(c.text, "r.csv");
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const RainfallRefusal& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.where, 0), 0U) << c.name << ": " << e.what();
    }
  }
}

TEST(RainfallTables, QuotesAtMostEightyCharactersOfTheFile) {
  const std::string longLabel(300, 'x');
  try {
    ReadRainfallTables("by duration for ARI (years):, 2\n" + longLabel + ", 1\n", "r.csv");
    ADD_FAILURE() << "accepted";
  } catch (const RainfallRefusal& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("\"" + std::string(38, 'x') + "..."), std::string::npos) << message;
    EXPECT_EQ(message.find(std::string(39, 'x')), std::string::npos) << message;
  }
}

// No rainfall table is near 1 MiB: a larger file is refused by its size, read no further than
// that, and what is read costs little more than its bytes (a line end, nothing; the column check of
// a header, linear time).
TEST(RainfallTables, FilesOfAnySizeReadInBoundedMemoryAndTime) {
  if (test::kSanitized)
    GTEST_SKIP() << "memory bounds are not checked under AddressSanitizer";
  test::ScratchDir dir;
  std::ofstream(dir / "sparse.csv").close();
  std::filesystem::resize_file(dir / "sparse.csv", std::uintmax_t{1} << 30);
  std::ofstream(dir / "breaks.csv") << std::string(8 << 20, '\n');
  std::ofstream(dir / "blank.csv") << std::string(kRainfallMostBytes, '\n');
  std::string header = "by duration for ARI (years):";
  for (int years = 1; years <= 150000; ++years)
    header += "," + std::to_string(years);
  std::ofstream(dir / "wide.csv") << header << '\n';
  const struct {
    const char* file;
    std::string message;
  } cases[] = {
      {"sparse.csv",
       "sparse.csv: more than 1 MiB, " + std::string(messages::kRainfallTooLargeText)},
      {"breaks.csv",
       "breaks.csv: more than 1 MiB, " + std::string(messages::kRainfallTooLargeText)},
      {"blank.csv", "blank.csv: the file is empty."},
      {"wide.csv",
       "wide.csv, line 1: the table under this header has 0 rows; it needs at least "
       "two durations."},
  };
  for (const auto& c : cases) {
    const int outcome = test::RunBounded(
        [&] {
          StdFileSystem files;
          try {
            LoadRainfall(files, dir / c.file, c.file, "");
          } catch (const RainfallRefusal& refusal) {
            return refusal.what() == c.message ? 0 : 1;
          }
          return 2;
        },
        32, 1);
    EXPECT_EQ(outcome, 0) << c.file;
  }
}

// A run uses durations n x Tc up to N x Tc, N = floor(360 / Tc + 0.5), and at least 6 hours.
TEST(RainfallTables, CoverageOfARun) {
  const RainfallTables to360 = ReadRainfallTables("duration_min,depth_in\n5,1\n360,3\n", "a.csv");
  const RainfallTables to364 = ReadRainfallTables("duration_min,depth_in\n5,1\n364,3\n", "b.csv");
  struct {
    const RainfallTables& tables;
    double tc;
    bool covered;
  } cases[] = {
      {to360, 5, true},    // 72 x 5 = 360
      {to360, 17, true},   // 21 x 17 = 357: the 6 hours decide
      {to360, 16, false},  // 23 x 16 = 368
      {to360, 13, false},  // 28 x 13 = 364
      {to364, 13, true},   // the same, one table row further
      {to364, 4, false},   // shorter than the first row
  };
  for (const auto& c : cases) {
    const std::optional<std::string> problem =
        CoverageProblem(c.tables.Table(std::nullopt), c.tables.FileName(), c.tc);
    EXPECT_EQ(!problem.has_value(), c.covered) << c.tables.FileName() << " Tc " << c.tc;
  }
}

// A run from a table drawn from the chart's curve (5 min to 24 h) gives the chart's hydrograph: the
// interpolation agrees to a few ulps, well inside the 0.1 cfs rounding of the blocks.
TEST(RainfallRuns, AChartShapedTableGivesTheChartsHydrograph) {
  std::vector<DepthDuration> points;
  for (const double minutes : {5, 10, 15, 30, 60, 120, 180, 360, 720, 1440})
    points.push_back({minutes, 7.44 * 2.5 * std::pow(minutes, 0.355) / 60});
  const auto table = std::make_shared<TableRainfall>(
      TableRainfall{DepthDurationTable(points), "chart.csv", "", "chart.csv"});
  long ordinates = 0;
  for (double tc = 5; tc <= 144; tc += 1) {
    RunInputs chart;
    chart.TimeOfConcentration = tc;
    chart.SixHourRainfall = 2.5;
    chart.BasinArea = 100;
    chart.RunoffCoefficient = 0.85;
    chart.PeakDischarge = 250;
    RunInputs fromTable = chart;
    fromTable.Rainfall = table;
    const RunResult a = test::Computed(chart);
    const RunResult b = test::Computed(fromTable);
    ASSERT_EQ(a.OrdinateCount, b.OrdinateCount) << tc;
    for (long i = 0; i <= a.OrdinateCount; ++i, ++ordinates)
      ASSERT_EQ(a.Hydrograph(i), b.Hydrograph(i)) << "Tc " << tc << " ordinate " << i;
  }
  EXPECT_GT(ordinates, 1500);
}

// Blocks 3..N go out deepest first. The chart's depths fall with duration at every Tc and P6,
// so its blocks keep their duration order (and its runs their figures); the sample export at
// Tc 12, where log-log interpolation makes some later blocks deeper than earlier ones, gives a
// hydrograph that rises to its peak and falls after it.
TEST(RainfallRuns, BlocksGoOutInOrderOfDepth) {
  for (const double p6 : {0.1, 2.5, 40.0}) {
    for (double tc = 5; tc <= 360; tc += 1) {
      const RunResult r = test::Computed(test::MakeBasin({tc, p6, 100, 0.85, 250, false}));
      for (long n = 4; n <= r.BlockCount; ++n)
        ASSERT_LT(r.RainIncrement(n), r.RainIncrement(n - 1)) << "P6 " << p6 << " Tc " << tc;
    }
  }
  const RainfallTables tables = ReadRainfallTables(kSample, "atlas14.csv");
  RunInputs in = test::MakeBasin({12, 0, 100, 0.85, 0, false});
  in.Rainfall = std::make_shared<TableRainfall>(
      TableRainfall{tables.Table(100.0), "atlas14.csv", "", "atlas14.csv"});
  in.PeakDischarge = ChartPeak(in);
  const RunResult r = test::Computed(in);
  for (long i = 1; i <= r.OrdinateCount; ++i) {
    if (i <= r.PeakIndex)
      EXPECT_GE(r.Hydrograph(i), r.Hydrograph(i - 1)) << "rising, ordinate " << i;
    else
      EXPECT_LE(r.Hydrograph(i), r.Hydrograph(i - 1)) << "falling, ordinate " << i;
  }
}

// The sample export at two return periods, Tc 10 min, A 100 ac, C 0.85, the chart's peak. By hand
// (depths from the 10-, 15-, 30-min rows of each column):
//   ARI 100: I(10) = 1.68 x 60 / 10 = 10.08 in/hr, Qp = 0.85 x 10.08 x 100 = 856.8 cfs;
//     d(20) = exp(ln 2.05 + ln(20/15) ln(3.31/2.05) / ln 2) = 2.50099 in;
//     block 2 = 510 x (2.50099 - 10/60 x 856.8/85) = 510 x 0.82099 = 418.7 cfs;
//     block 3 = 510 x (3.31 - 2.50099) = 412.6 cfs.
//   ARI 2: I(10) = 0.908 x 6 = 5.448 in/hr, Qp = 463.08 -> 463.1 cfs; d(20) = 1.35349 in;
//     block 2 = 510 x (1.35349 - 10/60 x 463.1/85) = 227.2 cfs; block 3 = 510 x (1.79 -
//     1.35349) = 222.6 cfs.
// Block 2 sits just before the peak (ordinate 24 of 25), block 3 before it; P6 = the 6-hr depth.
TEST(RainfallRuns, TheSampleExportAtTwoReturnPeriods) {
  const RainfallTables tables = ReadRainfallTables(kSample, "atlas14.csv");
  struct {
    double years;
    double p6, qp, block2, block3;
  } cases[] = {{100, 7.75, 856.8, 418.7, 412.6}, {2, 3.70, 463.1, 227.2, 222.6}};
  for (const auto& c : cases) {
    RunChoices storm;
    storm.Rainfall = std::make_shared<TableRainfall>(
        TableRainfall{tables.Table(c.years), "atlas14.csv", "", "atlas14.csv"});
    storm.ChartPeak = true;
    RunEntries entries;
    entries.TimeOfConcentration = "10";
    entries.BasinArea = "100";
    entries.RunoffCoefficient = ".85";
    test::MemoryFileSystem files;
    const RunInputs in = PrepareRun(entries, storm, files).Inputs;
    EXPECT_DOUBLE_EQ(in.SixHourRainfall, c.p6) << c.years;
    EXPECT_DOUBLE_EQ(in.PeakDischarge, c.qp) << c.years;
    const RunResult r = test::Computed(in);
    EXPECT_DOUBLE_EQ(r.Hydrograph(25), c.qp) << c.years;
    EXPECT_DOUBLE_EQ(r.Hydrograph(24), c.block2) << c.years;
    EXPECT_DOUBLE_EQ(r.Hydrograph(23), c.block3) << c.years;
  }
}

// A table that does not reach a run's durations refuses the run, naming the file; the rain entry
// is not needed with a table, nor the peak entry for the chart's peak.
TEST(RainfallRuns, RefusedWhenTheTableDoesNotCoverTheRun) {
  RunChoices storm;
  storm.Rainfall = std::make_shared<TableRainfall>(TableRainfall{
      DepthDurationTable({{15, 1}, {60, 2}, {360, 3}}), "short.csv", "", "short.csv"});
  storm.ChartPeak = true;
  RunEntries entries{"", "10", "", "100", ".85", ""};
  test::MemoryFileSystem files;
  try {
    PrepareRun(entries, storm, files);
    ADD_FAILURE() << "not refused";
  } catch (const Refused& refused) {
    EXPECT_NE(refused.Text().find("short.csv"), std::string::npos);
  }
  entries.TimeOfConcentration = "15";
  EXPECT_NO_THROW(PrepareRun(entries, storm, files));
  storm.ChartPeak = false;
  EXPECT_THROW(PrepareRun(entries, storm, files), Refused)
      << "without the chart's peak, the peak entry is needed";
}

}  // namespace
}  // namespace rh
