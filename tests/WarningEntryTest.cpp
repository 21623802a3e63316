#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Fakes.h"
#include "app/run/PreparedRun.h"
#include "app/run/WarningEntry.h"
#include "core/Faults.h"

namespace rh {
namespace {

// A table that reaches 10 minutes only: it cannot serve a run.
std::shared_ptr<const TableRainfall> ShortTable() {
  return std::make_shared<const TableRainfall>(
      TableRainfall{DepthDurationTable({{5, 0.5}, {10, 0.8}}), "short.csv", "", "short.csv"});
}

// Each warning PrepareRun gives names the entry the page shows it beside.
TEST(WarningEntry, NamesTheEntryOfEachRefusal) {
  struct {
    const char* name;
    RunEntries entries;  // path, tc, rain, area, coef, peak
    bool chartPeak;
    bool table;
    RunEntry entry;
  } cases[] = {
      {"short Tc",
       {"", "4.4", "2.5", "100", ".85", "250"},
       false,
       false,
       RunEntry::TimeOfConcentration},
      {"blank Tc",
       {"", " ", "2.5", "100", ".85", "250"},
       false,
       false,
       RunEntry::TimeOfConcentration},
      {"first blank of two", {"", "10", "2.5", "", ".85", ""}, false, false, RunEntry::BasinArea},
      {"blank rain with the chart",
       {"", "10", "", "100", ".85", "250"},
       false,
       false,
       RunEntry::SixHourRainfall},
      {"blank rain unread with a table",
       {"", "10", "", "100", "", "250"},
       false,
       true,
       RunEntry::RunoffCoefficient},
      {"blank peak unread with the chart peak",
       {"", "10", "2.5", "100", ".85", ""},
       true,
       false,
       RunEntry::None},
      {"rain no number",
       {"", "10", "x", "100", ".85", "250"},
       false,
       false,
       RunEntry::SixHourRainfall},
      {"negative area", {"", "10", "2.5", "-1", ".85", "250"}, false, false, RunEntry::BasinArea},
      {"coefficient above 1",
       {"", "10", "2.5", "100", "1.5", "250"},
       false,
       false,
       RunEntry::RunoffCoefficient},
      {"peak too large",
       {"", "10", "2.5", "100", ".85", "99999"},
       false,
       false,
       RunEntry::PeakDischarge},
      {"table too short",
       {"", "10", "", "100", ".85", "250"},
       false,
       true,
       RunEntry::RainfallTable},
  };
  for (const auto& c : cases) {
    RunChoices choices;
    choices.ChartPeak = c.chartPeak;
    if (c.table)
      choices.Rainfall = ShortTable();
    test::MemoryFileSystem files;
    RunEntry entry = RunEntry::None;
    bool refused = false;
    try {
      PrepareRun(c.entries, choices, files);
    } catch (const Refused& refusal) {
      refused = true;
      entry = WarningEntry(refusal.Title(), c.entries, choices);
    }
    EXPECT_EQ(refused, c.entry != RunEntry::None) << c.name;
    EXPECT_EQ(entry, c.entry) << c.name;
  }
}

}  // namespace
}  // namespace rh
