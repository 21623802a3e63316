#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "app/run/RunBasin.h"
#include "app/tables/PondFile.h"
#include "app/tables/PondJson.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "engine/Pond.h"
#include "output/HydrographTable.h"
#include "output/Plot.h"
#include "output/PondReport.h"
#include "output/ResultsListing.h"
#include "output/VolumeCheck.h"

namespace rh {
namespace {

const std::string kExample = test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv");

PondTable Table(std::vector<PondRow> rows) {
  return PondTable(std::move(rows));
}

// The run of `basin` routed through `pond` in steps of `step` minutes.
Run Routed(const test::BasinInputs& basin, const PondTable& pond, long step) {
  rh::Run run = test::ComputedBasin(basin);
  run.Routing = std::make_shared<const PondRouting>(RoutePond(run, pond, step));
  return run;
}

// The inflow at `minutes`: straight between the run's ordinates, zero after them.
double InflowAt(const Run& run, double minutes) {
  const double tc = run.Inputs.TimeOfConcentration;
  const long i = static_cast<long>(minutes / tc);
  if (i >= run.Result.OrdinateCount)
    return 0;
  const double share = minutes / tc - static_cast<double>(i);
  return run.Result.Hydrograph(i) +
         share * (run.Result.Hydrograph(i + 1) - run.Result.Hydrograph(i));
}

// A linear reservoir, O = k S (k per second, S cubic feet), tabulated as one straight segment, has
// the closed-form step O2 = (I1 + I2 + (2 / (k dt) - 1) O1) / (2 / (k dt) + 1). The routing must
// follow it at every step, and end at the first step after the inflow where the storage falls to
// 1 % of its maximum (the pond has no dead storage).
TEST(RoutePond, LinearReservoirFollowsTheClosedForm) {
  struct {
    double k;  // 1/s
    double tc;
    long step;  // minutes
  } cases[] = {{1.0 / 3600, 10, 1}, {1.0 / 3600, 10, 5}, {1.0 / 600, 15, 3}, {1.0 / 20000, 12, 12}};
  for (const auto& c : cases) {
    const double top = 100;  // ac-ft
    const PondTable pond = Table({{0, 0, 0}, {10, top, c.k * top * kCubicFeetPerAcreFoot}});
    const rh::Run run = Routed({c.tc}, pond, c.step);
    const PondRouting& p = *run.Routing;
    const double dt = static_cast<double>(c.step) * 60;
    const double a = 2 / (c.k * dt);
    double outflow = 0;
    double peak = 0;
    for (std::size_t n = 1; n < p.States.size(); ++n) {
      const PondState& s = p.States[n];
      const double i1 = InflowAt(run, s.Minutes - static_cast<double>(c.step));
      const double i2 = InflowAt(run, s.Minutes);
      outflow = (i1 + i2 + (a - 1) * outflow) / (a + 1);
      ASSERT_NEAR(s.InflowCfs, i2, 1e-9) << c.tc << " at " << s.Minutes;
      ASSERT_NEAR(s.OutflowCfs, outflow, 0.005) << c.tc << "/" << c.step << " at " << s.Minutes;
      EXPECT_NEAR(s.StageFeet, s.StorageAcreFeet * 10 / top, 1e-9);
      peak = std::max(peak, outflow);
      const bool last = n + 1 == p.States.size();
      if (s.Minutes >= p.InflowEndMinutes) {
        ASSERT_EQ(s.StorageAcreFeet <= 0.01 * p.MaxStorageAcreFeet, last)
            << c.tc << " at " << s.Minutes;
      }
    }
    EXPECT_NEAR(p.PeakOutflowCfs, peak, 0.005);
    ASSERT_TRUE(p.DrainMinutes);
    EXPECT_EQ(*p.DrainMinutes, p.EndMinutes - p.MaxStorageMinutes);
  }
}

// Tc 1 min, ordinates 0, 100, 200, 0 cfs; steps of 1 min, so 2 / dt = 2 x 43,560 / 60 = 1452 cfs
// per ac-ft. Rows (stage ft, ac-ft, cfs): (0, 0, 0), (1, 0.1, 10), (2, 0.3, 40), (3, 0.6, 60);
// their indications 2 S / dt + O: 0, 155.2, 475.6, 931.2 cfs.
//   Step 1: N = 0 + 100 + 0 - 0 = 100, in rows 1-2 at 100 / 155.2 = 0.644330:
//           S = 0.064433 ac-ft, O = 6.443299 cfs, stage 0.644330 ft.
//   Step 2: N = 100 + 200 + 1452 x 0.064433 - 6.443299 = 387.113402, in rows 2-3 at
//           (387.113402 - 155.2) / 320.4 = 0.723825: S = 0.244765, O = 31.714738, stage 1.723825.
//   Step 3: N = 200 + 0 + 1452 x 0.244765 - 31.714738 = 523.683926, in rows 3-4 at
//           (523.683926 - 475.6) / 455.6 = 0.105540: S = 0.331662, O = 42.110796, stage 2.105540.
TEST(RoutePond, HandWorkedThreeSteps) {
  rh::Run run;
  run.Inputs.TimeOfConcentration = 1;
  run.Result.Hydrograph.Reset(4);
  run.Result.Hydrograph(1) = 100;
  run.Result.Hydrograph(2) = 200;
  run.Result.OrdinateCount = 3;
  const PondRouting p =
      RoutePond(run, Table({{0, 0, 0}, {1, 0.1, 10}, {2, 0.3, 40}, {3, 0.6, 60}}), 1);
  const PondState expected[] = {{1, 100, 6.443299, 0.064433, 0.644330},
                                {2, 200, 31.714738, 0.244765, 1.723825},
                                {3, 0, 42.110796, 0.331662, 2.105540}};
  ASSERT_GT(p.States.size(), 4U);
  for (const PondState& e : expected) {
    const PondState& s = p.States[static_cast<std::size_t>(e.Minutes)];
    EXPECT_EQ(s.Minutes, e.Minutes);
    EXPECT_EQ(s.InflowCfs, e.InflowCfs);
    EXPECT_NEAR(s.OutflowCfs, e.OutflowCfs, 1e-6) << e.Minutes;
    EXPECT_NEAR(s.StorageAcreFeet, e.StorageAcreFeet, 1e-6) << e.Minutes;
    EXPECT_NEAR(s.StageFeet, e.StageFeet, 1e-6) << e.Minutes;
  }
  EXPECT_EQ(p.InflowEndMinutes, 3);
  EXPECT_EQ(p.PeakInflowMinutes, 2);
}

// A pipe at capacity holds its outflow while the pond fills, and a flat-topped inflow repeats its
// peak: each figure is taken at the first step that reaches it.
TEST(RoutePond, FiguresAtTheFirstOfEqualMaxima) {
  rh::Run run;
  run.Inputs.TimeOfConcentration = 2;
  run.Result.Hydrograph.Reset(5);
  run.Result.Hydrograph(1) = run.Result.Hydrograph(2) = run.Result.Hydrograph(3) = 100;
  run.Result.OrdinateCount = 4;
  const PondRouting p = RoutePond(run, Table({{0, 0, 0}, {1, 0.01, 10}, {3, 10, 10}}), 1);
  EXPECT_EQ(p.PeakInflowMinutes, 2);
  EXPECT_EQ(p.PeakOutflowCfs, 10);
  EXPECT_EQ(p.PeakOutflowMinutes, 1);
  EXPECT_EQ(p.States[5].OutflowCfs, 10);
}

// Random basins through random ponds, each at a random step that fits its outlet: what flows in
// is the hydrograph's volume and comes out or stays in the pond, and the check prints no warning.
TEST(RoutePond, VolumeBalancesOverARandomSweep) {
  std::mt19937 random(19);
  const auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  for (int trial = 0; trial < 300; ++trial) {
    const test::BasinInputs basin{std::floor(uniform(5, 60)), uniform(0.5, 6), uniform(1, 500),
                                  uniform(0.1, 0.95), 0};
    test::BasinInputs withPeak = basin;
    withPeak.peak = 0.9 * basin.coef * basin.area * ChartIntensity(basin.p6, basin.tc);
    const rh::Run dry = test::ComputedBasin(withPeak);
    const double volume = CheckVolumes(dry).HydrographAcreFeet;
    std::vector<PondRow> rows{{0, 0, 0}};
    const long count = std::uniform_int_distribution<long>(1, 12)(random);
    for (long i = 1; i <= count; ++i) {
      const PondRow& below = rows.back();
      rows.push_back(
          {below.StageFeet + uniform(0.1, 2),
           below.StorageAcreFeet + uniform(0.01, 2) * volume / static_cast<double>(count),
           below.OutflowCfs + (trial % 7 == 0 && i < 3 ? 0 : uniform(0, withPeak.peak))});
    }
    rows.back().StorageAcreFeet += 3 * volume;  // room for the whole storm
    const PondTable pond = Table(rows);
    const std::optional<long> longest = LongestRoutingStep(pond, basin.tc);
    if (!longest)
      continue;
    const rh::Run run = Routed(withPeak, pond, *longest);
    const PondRouting& p = *run.Routing;
    const double in = p.InflowAcreFeet;
    EXPECT_NEAR(in, volume, 1e-9 * volume) << trial;
    EXPECT_NEAR(in, p.OutflowAcreFeet + p.StorageLeftAcreFeet, 1e-9 * in) << trial;
    const VolumeCheck check = CheckVolumes(run);
    ASSERT_TRUE(check.Pond) << trial;
    EXPECT_FALSE(check.PondWarning) << trial;
  }
}

// A pond too small for the storm stands at its top while the rest goes over: every step's
// overflow is ((I1 + I2) / 2 - (O1 + O2) / 2) dt - (S_top - S1), and the volumes balance to it.
TEST(RoutePond, OvertoppingIsAResultThatBalances) {
  struct {
    PondTable pond;
    long step;
  } cases[] = {{Table({{0, 0, 0}, {1, 1, 1}}), 1},
               {Table({{0, 0, 0}, {2, 3, 20}, {3, 4, 60}}), 5},
               {Table({{0, 0, 0}, {0.5, 0.5, 0}, {1, 2, 50}}), 1}};
  for (auto& c : cases) {
    const rh::Run run = Routed({10}, c.pond, c.step);
    const PondRouting& p = *run.Routing;
    ASSERT_TRUE(p.Overtopped);
    const PondRow& top = c.pond.Rows().back();
    const double dt = static_cast<double>(c.step) * 60 / kCubicFeetPerAcreFoot;  // ac-ft per cfs
    double over = 0;
    double peak = 0;
    double first = -1;
    double last = -1;
    for (std::size_t n = 1; n < p.States.size(); ++n) {
      const PondState& a = p.States[n - 1];
      const PondState& b = p.States[n];
      if (b.OverflowCfs == 0)
        continue;
      EXPECT_EQ(b.StorageAcreFeet, top.StorageAcreFeet);
      EXPECT_EQ(b.StageFeet, top.StageFeet);
      const double volume =
          ((a.InflowCfs + b.InflowCfs) / 2 - (a.OutflowCfs + b.OutflowCfs) / 2) * dt -
          (top.StorageAcreFeet - a.StorageAcreFeet);
      EXPECT_NEAR(b.OverflowCfs * dt, volume, 1e-9 * top.StorageAcreFeet) << b.Minutes;
      over += volume;
      peak = std::max(peak, b.OverflowCfs);
      if (first < 0)
        first = a.Minutes;
      last = b.Minutes;
    }
    EXPECT_NEAR(p.OverflowAcreFeet, over, 1e-9 * over);
    EXPECT_EQ(p.OverflowPeakCfs, peak);
    EXPECT_EQ(p.OverflowStartMinutes, first);
    EXPECT_EQ(p.OverflowEndMinutes, last);
    EXPECT_NEAR(p.InflowAcreFeet, p.OutflowAcreFeet + p.OverflowAcreFeet + p.StorageLeftAcreFeet,
                1e-9 * p.InflowAcreFeet);
    EXPECT_EQ(p.MaxStageFeet, top.StageFeet);
    EXPECT_FALSE(CheckVolumes(run).PondWarning);
  }
}

// Drawdown runs from the maximum storage down to the dead storage (below the lowest outlet) plus
// 1 % of the rest; a pond that holds its water past 10 days after the inflow does not drain.
TEST(RoutePond, DrawdownCountsFromTheDeadStorage) {
  const PondTable dead = Table({{0, 0, 0}, {1, 3, 0}, {4, 20, 80}});
  const PondTable slow = Table({{0, 0, 0}, {4, 60, 0.05}});
  const rh::Run wet = Routed({10}, dead, 1);
  const PondRouting& p = *wet.Routing;
  ASSERT_TRUE(p.DrainMinutes);
  EXPECT_EQ(p.DeadStorageAcreFeet, 3);
  const double target = 3 + 0.01 * (p.MaxStorageAcreFeet - 3);
  const PondState& end = p.States.back();
  EXPECT_LE(end.StorageAcreFeet, target);
  EXPECT_GT(p.States[p.States.size() - 2].StorageAcreFeet, target);
  EXPECT_EQ(*p.DrainMinutes, end.Minutes - p.MaxStorageMinutes);

  const rh::Run full = Routed({10}, slow, 1);
  const PondRouting& never = *full.Routing;
  EXPECT_FALSE(never.DrainMinutes);
  EXPECT_EQ(never.EndMinutes, never.InflowEndMinutes + 14400);
}

TEST(RoutePond, RefusesStepsItCannotTake) {
  const PondTable example = ReadPondTable(kExample, "example-pond.csv").Table;
  const PondTable quick = Table({{0, 0, 0}, {1, 1, 1000}});   // 2 S / O = 87 s
  const PondTable gush = Table({{0, 0, 0}, {1, 0.1, 1000}});  // 2 S / O = 8.7 s
  EXPECT_EQ(LongestRoutingStep(example, 10), 10);
  EXPECT_EQ(LongestRoutingStep(example, 720), 120);  // 2 x 1.0107 x 43560 / 10.70 s = 137 min
  EXPECT_EQ(LongestRoutingStep(example, 997), 1);    // a prime
  EXPECT_EQ(LongestRoutingStep(quick, 10), 1);
  EXPECT_EQ(LongestRoutingStep(gush, 10), std::nullopt);

  const rh::Run run = test::ComputedBasin({10});
  struct {
    const char* name;
    const PondTable& pond;
    long step;
    const char* title;
    const char* says;
  } cases[] = {
      {"step too long", quick, 5, messages::kRouteStepTitle,
       "The longest step that is not: 1 min."},
      {"no step short enough", gush, 1, messages::kRouteStepTitle, "No step of whole minutes"},
  };
  for (const auto& c : cases) {
    try {
      RoutePond(run, c.pond, c.step);
      ADD_FAILURE() << c.name << ": routed";
    } catch (const Refused& e) {
      EXPECT_EQ(e.Title(), c.title) << c.name;
      EXPECT_NE(e.Text().find(c.says), std::string::npos) << c.name << ": " << e.Text();
    }
  }
  for (const long step : {0L, 3L, -5L})
    EXPECT_THROW(RoutePond(run, example, step), UsageError) << step;
}

// Figures too large for a double fault, whether testing the step meets them or the rows' storage
// indications do.
TEST(RoutePond, TablesWhoseFiguresOverflowFault) {
  const double most = std::numeric_limits<double>::max();
  const rh::Run run = test::ComputedBasin({10});
  struct {
    const char* name;
    std::vector<PondRow> rows;
  } cases[] = {
      {"2 S / dt", {{0, 0, 0}, {1, 1, 0}, {2, most, 0}}},
      {"2 S / dt + O", {{0, 0, 0}, {1, 1, 0}, {2, most / 2000, most / 2}}},
  };
  for (const auto& c : cases) {
    try {
      RoutePond(run, Table(c.rows), 1);
      ADD_FAILURE() << c.name << ": routed";
    } catch (const ArithmeticFault& e) {
      EXPECT_STREQ(e.what(), messages::kOverflowText) << c.name;
    }
  }
}

TEST(PondFile, ReadsTablesAsSpreadsheetsSaveThem) {
  std::string resaved = "\xEF\xBB\xBF\r\n";
  for (const std::string& line : test::SplitLines(kExample))
    resaved += " " + line + ",,\r\n\r\n";
  const TablePond pond = ReadPondTable(resaved, "p.csv");
  const TablePond plain = ReadPondTable(kExample, "p.csv");
  ASSERT_EQ(pond.Table.Rows().size(), 15U);
  for (std::size_t i = 0; i < 15; ++i)
    EXPECT_EQ(pond.Table.Rows()[i].OutflowCfs, plain.Table.Rows()[i].OutflowCfs) << i;
  EXPECT_EQ(pond.Table.Rows()[14].StorageAcreFeet, 16.1);
  EXPECT_EQ(pond.File, "p.csv");
}

TEST(PondFile, RefusalsNameTheFileAndLine) {
  using namespace std::string_literals;
  const std::string head = "stage_ft,storage_acft,outflow_cfs\n";
  const std::string first = "100,0,0\n";
  struct {
    const char* name;
    std::string text;
    const char* where;  // how the message starts
  } cases[] = {
      {"empty", "\n \n", "p.csv: "},
      {"NUL byte", head + "0,0\0,0\n"s, "p.csv, line 2: "},
      {"wrong header", "\nstage,storage,outflow\n0,0,0\n1,1,1\n", "p.csv, line 2: "},
      {"two fields", head + first + "101,1\n", "p.csv, line 3: "},
      {"not a number", head + first + "101,1,x\n", "p.csv, line 3: "},
      {"not finite", head + first + "101,1e999,1\n", "p.csv, line 3: "},
      {"negative", head + first + "101,1,-1\n", "p.csv, line 3: "},
      {"stage does not rise", head + first + "\n100,1,1\n", "p.csv, line 4: "},
      {"storage does not rise", head + first + "101,1,1\n102,1,2\n", "p.csv, line 4: "},
      {"outflow falls", head + first + "101,1,2\n102,2,1\n", "p.csv, line 4: "},
      {"first row not empty", head + "100,0.5,0\n101,1,1\n", "p.csv, line 2: "},
      {"one row", head + first, "p.csv, line 1: "},
  };
  for (const auto& c : cases) {
    try {
      ReadPondTable(c.text, "p.csv");
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const Refused& e) {
      EXPECT_EQ(e.Title(), messages::kPondTableTitle);
      EXPECT_EQ(e.Text().rfind(c.where, 0), 0U) << c.name << ": " << e.Text();
    }
  }

  test::MemoryFileSystem files;
  files.files["big.csv"] = kExample + std::string(kMostPondFileBytes, '\n');
  EXPECT_THROW(LoadPond(files, "missing.csv", "missing.csv"), FileFault);
  files.files["dir/p.csv"] = kExample;
  EXPECT_EQ(LoadPond(files, "dir/p.csv", "p.csv")->Path, "dir/p.csv");
  try {
    LoadPond(files, "big.csv", "big.csv");
    ADD_FAILURE() << "a file above 1 MiB read";
  } catch (const Refused& e) {
    EXPECT_EQ(e.Text().rfind("big.csv: the file is larger than 1048576 bytes", 0), 0U) << e.Text();
  }
}

// Figures half up at their decimals (0.125 would be 0.12 by banker's rounding), and the three ways
// routing can end.
TEST(PondReport, FiguresAndRowsRoundHalfUp) {
  PondRouting p;
  p.StepMinutes = 2;
  p.States = {{0, 0.125, 2.375, 0.03125, 0.0625}};
  p.PeakInflowCfs = 0.25;
  p.PeakInflowMinutes = 250;
  p.PeakOutflowCfs = 32.25;
  p.PeakOutflowMinutes = 262;
  p.MaxStorageAcreFeet = 0.0625;
  p.MaxStageFeet = 4.125;
  p.MaxStorageMinutes = 262;
  p.TopStageFeet = 7;
  rh::Run run;
  run.Routing = std::make_shared<const PondRouting>(p);
  EXPECT_EQ(PondCsv(run),
            "time_min,inflow_cfs,outflow_cfs,storage_acft,stage_ft\n0,0.13,2.38,0.0313,0.063\n");

  run.Inputs.Pond = std::make_shared<const TablePond>(ReadPondTable(kExample, "basin-7.csv"));
  const std::vector<std::string> figures = {
      " ",
      "POND TABLE basin-7.csv",
      "ROUTING STORAGE INDICATION (MODIFIED PULS), STEP  2 MIN.",
      "PEAK INFLOW  .3 CFS AT  250 MIN.",
      "PEAK OUTFLOW  32.3 CFS AT  262 MIN.",
      "MAXIMUM STORAGE  .063 AC-FT AT  262 MIN.",
      "MAXIMUM STAGE  4.13 FT AT  262 MIN.",
      "TOP OF POND  7 FT, FREEBOARD  2.88 FT."};
  struct {
    std::optional<double> drain;
    double peakOut;
    const char* line;
  } endings[] = {{588, 32.25, "DRAWDOWN  9 H 48 MIN."},
                 {45, 32.25, "DRAWDOWN  0 H 45 MIN."},
                 {std::nullopt, 32.25,
                  "DRAWDOWN  NONE, THE POND DOES NOT DRAIN WITHIN 10 DAYS AFTER THE INFLOW"},
                 {std::nullopt, 0, "DRAWDOWN  NONE, THE POND RELEASES NOTHING"}};
  for (const auto& e : endings) {
    p.DrainMinutes = e.drain;
    p.PeakOutflowCfs = e.peakOut;
    run.Routing = std::make_shared<const PondRouting>(p);
    std::vector<std::string> expected = figures;
    if (e.peakOut == 0)
      expected[4] = "PEAK OUTFLOW  0 CFS AT  262 MIN.";
    expected.emplace_back(e.line);
    EXPECT_EQ(PondLines(run), expected);
  }
}

// A routed run: the listing gains the pond's section and nothing else changes; the chart draws the
// outflow; the run step writes the routed table with its other files, and a pond that overtops
// is a result like any other.
TEST(PondOutputs, RoutedRunAcrossTheOutputs) {
  auto pond = std::make_shared<const TablePond>(ReadPondTable(kExample, "example-pond.csv"));
  RunInputs in = test::MakeBasin({10});
  const std::string plain = ListingText(test::ComputeRun(in));
  in.Pond = pond;
  test::MemoryFileSystem files;
  test::FixedClock clock;
  OutputRequest request;
  request.Outputs = {{OutputKind::Listing, "run.txt"}, {OutputKind::PondCsv, "pond.csv"}};
  const BasinRun basin = RunBasin(in, request, {files, clock});
  ASSERT_FALSE(basin.Failure);
  ASSERT_TRUE(basin.Run.Routing);
  const std::string& listing = files.files["run.txt"];
  EXPECT_EQ(listing.substr(0, plain.size()), plain);
  EXPECT_EQ(listing.substr(plain.size(), 30), " \nPOND TABLE example-pond.csv\n");
  EXPECT_EQ(files.files["pond.csv"], PondCsv(basin.Run));
  std::string lines;
  for (const std::string& line : BuildResultLines(basin.Run))
    lines += line + "\n";
  EXPECT_EQ(lines, listing);

  const auto polylines = [](const Drawing& d) {
    return std::count_if(d.shapes.begin(), d.shapes.end(),
                         [](const Shape& s) { return std::holds_alternative<PolylineShape>(s); });
  };
  EXPECT_EQ(polylines(PlotDrawing(basin.Run)), 2);
  rh::Run hundred = basin.Run;
  hundred.Inputs.Rainfall = std::make_shared<const TableRainfall>(
      TableRainfall{DepthDurationTable({{5, 1}, {400, 8}}), "atlas.csv", "100", {}});
  const rh::Run other = test::ComputeRun(in);
  const Drawing overlay = PlotDrawing(std::vector<const rh::Run*>{&basin.Run, &hundred, &other});
  EXPECT_EQ(polylines(overlay), 5);
  EXPECT_EQ(RunLabel(hundred), "100-yr");

  in.Pond = std::make_shared<const TablePond>(
      TablePond{Table({{0, 0, 0}, {1, 1, 1}}), "small.csv", {}, nullptr});
  files.files.clear();
  const BasinRun over = RunBasin(in, request, {files, clock});
  ASSERT_FALSE(over.Failure);
  EXPECT_NE(files.files["run.txt"].find("\nOVERTOPPED FROM "), std::string::npos);
  EXPECT_EQ(files.files["pond.csv"].substr(0, 66),
            "time_min,inflow_cfs,outflow_cfs,storage_acft,stage_ft,overflow_cfs");
}

// The routed table's overflow_cfs column: there for a pond that overtops and for every designed
// pond, flowing only in the steps over the top, with the stage at the top; its rows add up to the
// volume over the top and peak at the overflow's peak.
TEST(PondOutputs, TheOverflowColumnHoldsWhatGoesOverTheTop) {
  const TablePond json =
      ReadPondJson(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.json"), "p.json");
  const auto table = [](std::vector<PondRow> rows) {
    return TablePond{Table(std::move(rows)), "t.csv", "", nullptr};
  };
  const struct {
    TablePond pond;
    test::BasinInputs basin;
    long step;
    bool column;
  } cases[] = {
      {table({{0, 0, 0}, {2, 30, 20}}), {}, 1, false},
      {table({{0, 0, 0}, {1, 1, 1}}), {}, 1, true},
      {ReadPondTable(kExample, "e.csv"), {10, 4.5, 100, .85, 450}, 5, true},
      {json, {}, 1, true},
  };
  for (const auto& c : cases) {
    rh::Run run = Routed(c.basin, c.pond.Table, c.step);
    run.Inputs.Pond = std::make_shared<const TablePond>(c.pond);
    const PondRouting& p = *run.Routing;
    const std::vector<std::string> lines = test::SplitLines(PondCsv(run));
    const std::string& header = lines.at(0);
    ASSERT_EQ(header.substr(header.size() - 13) == ",overflow_cfs", c.column) << header;
    ASSERT_EQ(lines.size(), p.States.size() + 1);
    double sum = 0;
    double peak = 0;
    for (std::size_t n = 1; c.column && n < lines.size(); ++n) {
      const double overflow = std::stod(lines[n].substr(lines[n].rfind(',') + 1));
      const PondState& s = p.States[n - 1];
      if (overflow > 0) {
        EXPECT_GT(s.Minutes, p.OverflowStartMinutes) << lines[n];
        EXPECT_LE(s.Minutes, p.OverflowEndMinutes) << lines[n];
        EXPECT_EQ(s.StageFeet, c.pond.Table.Rows().back().StageFeet) << lines[n];
      }
      sum += overflow;
      peak = std::max(peak, overflow);
    }
    const double dt = static_cast<double>(c.step) * 60 / kCubicFeetPerAcreFoot;
    EXPECT_NEAR(sum * dt, p.OverflowAcreFeet, 0.005 * static_cast<double>(lines.size()) * dt);
    EXPECT_EQ(peak, RoundedHalfUp(p.OverflowPeakCfs, kRowFlowScale)) << header;
  }
}

// Copied from the results, a routed run's rows add the outflow, storage and stage at the ordinate's
// time, rounded half up as the routed table's rows, and leave them empty past the end of routing.
TEST(PondOutputs, CopiedTableAddsTheRoutedStateAtEachOrdinate) {
  rh::Run run = test::ComputedBasin({10});
  PondRouting p;
  p.StepMinutes = 5;
  p.States = {{0, 0, 0, 0, 0.0625}, {5, 6, 1, 0.01, 0.5}, {10, 12.7, 2.375, 0.03125, 4.125}};
  run.Routing = std::make_shared<const PondRouting>(p);
  std::vector<std::string> rows;
  std::istringstream tsv(HydrographTsv(run));
  for (std::string row; std::getline(tsv, row);)
    rows.push_back(row);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(run.Result.OrdinateCount) + 1);
  EXPECT_EQ(rows[0], "0\t0\t0\t0\t0.063");
  EXPECT_EQ(rows[1], "10\t12.7\t2.38\t0.0313\t4.125");
  EXPECT_EQ(rows[2].substr(0, 3), "20\t");
  EXPECT_EQ(rows[2].substr(rows[2].size() - 3), "\t\t\t");
}

}  // namespace
}  // namespace rh
