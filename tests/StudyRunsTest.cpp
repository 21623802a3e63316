// The window's runs: Generate's request with the start-up choices, and the study window's reruns
// of the same entries with its own storms, peak and pond.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Fakes.h"
#include "TestFiles.h"
#include "app/run/RunRequest.h"
#include "app/run/StudyRuns.h"
#include "app/tables/PondFile.h"
#include "app/tables/RainfallTable.h"
#include "app/window/Init.h"
#include "core/Faults.h"

namespace rh {
namespace {

const RunEntries kBasin{"", "10", "2.5", "10", ".85", "40"};

// Memory files holding the Atlas 14 sample (a column per return period, 1 to 1000 years) and the
// example pond.
struct Tables {
  test::MemoryFileSystem files;
  Tables() {
    files.files["atlas.csv"] = test::ReadFile(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");
    files.files["pond.csv"] = test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv");
  }
  std::shared_ptr<const TableRainfall> Rainfall(const std::string& ari) {
    return LoadRainfall(files, "atlas.csv", "atlas.csv", ari);
  }
  std::shared_ptr<const TablePond> Pond() { return LoadPond(files, "pond.csv", "pond.csv"); }
};

// Each storm, peak and pond the program can start with reaches the run Generate asks for.
TEST(RequestRun, TakesTheStartUpChoices) {
  Tables t;
  struct {
    const char* name;
    std::function<void(RunChoices&)> choose;
    double p6, peak;
    bool routed;
  } cases[] = {
      {"county chart", [](RunChoices&) {}, 2.5, 40, false},
      {"table, 2 years", [&](RunChoices& c) { c.Rainfall = t.Rainfall("2"); }, 3.70, 40, false},
      {"pond", [&](RunChoices& c) { c.Pond = t.Pond(); }, 2.5, 40, true},
      {"chart peak", [](RunChoices& c) { c.ChartPeak = true; }, 2.5, 35.8, false},
  };
  for (const auto& c : cases) {
    Init state;
    c.choose(state.Choices);
    const PreparedRun run = RequestRun(state, kBasin, t.files, {});
    EXPECT_EQ(run.Inputs.SixHourRainfall, c.p6) << c.name;
    EXPECT_EQ(run.Inputs.PeakDischarge, c.peak) << c.name;
    EXPECT_EQ(run.Inputs.Pond != nullptr, c.routed) << c.name;
  }
}

// The study starts from the run's storm among all its table's return periods, or the run's storm
// alone when the table can no longer be read.
TEST(StudyRuns, StartFromTheRunsStorm) {
  Tables t;
  RunChoices run;
  run.Rainfall = t.Rainfall("10.0");
  StudyChoices study = StudyChoicesOf(run, t.files);
  ASSERT_EQ(study.Storms.size(), 10u);
  EXPECT_EQ(study.Picked, std::vector<std::size_t>{3});
  EXPECT_EQ(study.Storms[3], run.Rainfall);
  EXPECT_EQ(study.Storms[6]->Ari, "100");
  t.files.files.erase("atlas.csv");
  study = StudyChoicesOf(run, t.files);
  EXPECT_EQ(study.Storms, decltype(study.Storms){run.Rainfall});
  EXPECT_EQ(study.Picked, std::vector<std::size_t>{0});
}

// A new rainfall table keeps the return periods picked before that it offers; else its first.
TEST(StudyRuns, CarryThePicksToANewTable) {
  const auto storms = [](std::vector<std::string> aris) {
    std::vector<std::shared_ptr<const TableRainfall>> made;
    made.reserve(aris.size());
    for (std::string& ari : aris)
      made.push_back(std::make_shared<TableRainfall>(
          TableRainfall{DepthDurationTable({{5, 1}, {360, 3}}), "t.csv", std::move(ari), {}}));
    return made;
  };
  struct {
    const char* name;
    std::vector<std::string> before;
    std::vector<std::size_t> picked;
    std::vector<std::string> next;
    std::vector<std::size_t> carried;
  } cases[] = {
      {"both offered", {"2", "10", "100"}, {0, 2}, {"1", "2", "25", "100"}, {1, 3}},
      {"one offered", {"2", "10"}, {1}, {"50", "10"}, {1}},
      {"none offered", {"2", "10"}, {0, 1}, {"5", "25", "50"}, {0}},
      {"from the county chart", {}, {}, {"5", "25"}, {0}},
      {"plain tables", {""}, {0}, {"2", ""}, {0}},
      {"typed as 10.0", {"2", "10.0"}, {1}, {"2", "10"}, {1}},
  };
  for (const auto& c : cases) {
    StudyChoices before;
    before.Storms = storms(c.before);
    before.Picked = c.picked;
    EXPECT_EQ(CarriedPicks(before, storms(c.next)), c.carried) << c.name;
  }
}

// Several return periods, the chart peak and a pond: a run per storm, each checked, summarised in
// a row, and a deck of one of them with the HEC-1 tail, never over a table the run reads.
TEST(StudyRuns, RerunTheEntriesWithTheStudysChoices) {
  Tables t;
  StudyChoices study;
  study.Storms = TableStorms(t.files, "atlas.csv", "atlas.csv");
  study.Picked = {1, 6};
  study.ChartPeak = true;
  study.Pond = t.Pond();
  const std::vector<StudyRun> runs = RunStudy(kBasin, study, t.files);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Run.Inputs.SixHourRainfall, 3.70);
  EXPECT_EQ(runs[1].Run.Inputs.SixHourRainfall, 7.75);
  EXPECT_LT(runs[0].Run.Inputs.PeakDischarge, runs[1].Run.Inputs.PeakDischarge);
  EXPECT_TRUE(runs[1].Run.Routing);
  EXPECT_NEAR(runs[1].Check.EnteredPeak, runs[1].Check.ChartPeak, 0.05);
  EXPECT_EQ(t.files.writes, 0);

  const StudySummary summary = SummaryOf(runs);
  EXPECT_EQ(summary.Heads.size(), 10u);
  ASSERT_EQ(summary.Rows.size(), 2u);
  EXPECT_EQ(summary.Rows[1][0], "100-year");
  EXPECT_EQ(summary.Checks[1].rfind("100-year: volume within 2 %", 0), 0u) << summary.Checks[1];
  EXPECT_EQ(SummaryOf({runs[0]}).Checks[0].rfind("Check: ", 0), 0u);

  test::FixedClock clock;
  const BasinRun deck = SaveStudyDeck(kBasin, study, 1, "hundred.hc1", {t.files, clock});
  EXPECT_FALSE(deck.Failure);
  EXPECT_EQ(deck.Run.Inputs.ZeroTail, kZeroTailHec1);
  EXPECT_EQ(deck.Run.Inputs.SixHourRainfall, 7.75);
  EXPECT_EQ(t.files.files["hundred.hc1"].rfind("KK hundred.hc1", 0), 0u);
  EXPECT_THROW(SaveStudyDeck(kBasin, study, 0, "pond.csv", {t.files, clock}), UsageError);
}

}  // namespace
}  // namespace rh
