#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

#include "Fakes.h"
#include "app/run/PreparedRun.h"
#include "app/tables/RainfallTable.h"
#include "core/Faults.h"

namespace rh {
namespace {

// A table that reaches 10 minutes only: it cannot serve a run.
std::shared_ptr<const TableRainfall> ShortTable() {
  return std::make_shared<const TableRainfall>(
      TableRainfall{DepthDurationTable({{5, 0.5}, {10, 0.8}}), "short.csv", "", "short.csv"});
}

// Each refusal PrepareRun raises names the entry the page shows its warning beside.
TEST(RefusalEntry, NamesTheEntryOfEachRefusal) {
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
      entry = refusal.Entry();
    }
    EXPECT_EQ(refused, c.entry != RunEntry::None) << c.name;
    EXPECT_EQ(entry, c.entry) << c.name;
  }
}

// Every kind of fault a boundary meets, reported with its title, text, entry and exit status.
TEST(ReportFault, GivesTitleTextEntryAndExitStatus) {
  const Refused refused("ERROR In Basin Area", "Basin Area value must be 0 or greater.",
                        RunEntry::BasinArea);
  const UsageError usage("the plot file must end in .svg or .png.");
  const RainfallUsageError period("no column for 7 years");
  const FileFault file("Cannot write \"a.txt\": no permission.", "a.txt");
  const ArithmeticFault division(messages::kDivisionByZeroText);
  const std::bad_alloc memory;
  const struct {
    const std::exception* fault;
    FaultKind kind;
    std::string line;  // as the companion and the batch show it
    std::string title;
    RunEntry entry;
    int status;
  } cases[] = {
      {&refused, FaultKind::Refused, "ERROR In Basin Area: Basin Area value must be 0 or greater.",
       "ERROR In Basin Area", RunEntry::BasinArea, kExitRefused},
      {&usage, FaultKind::Usage, usage.what(), messages::kRunChoicesTitle, RunEntry::None,
       kExitUsage},
      {&period, FaultKind::Usage, period.what(), messages::kReturnPeriodTitle,
       RunEntry::ReturnPeriod, kExitUsage},
      {&file, FaultKind::File, file.what(), messages::kRunFaultTitle, RunEntry::None, kExitFault},
      {&division, FaultKind::Fault,
       std::string(messages::kDivisionByZeroText) + messages::kDivisionHintText,
       messages::kRunFaultTitle, RunEntry::None, kExitFault},
      {&memory, FaultKind::OutOfMemory, messages::kOutOfMemoryText, messages::kRunFaultTitle,
       RunEntry::None, kExitFault},
  };
  for (const auto& c : cases) {
    const FaultReport report = ReportFault(*c.fault);
    EXPECT_EQ(report.Kind, c.kind) << c.line;
    EXPECT_EQ(report.Line(), c.line);
    EXPECT_EQ(report.Title, c.title) << c.line;
    EXPECT_EQ(report.Entry, c.entry) << c.line;
    EXPECT_EQ(report.ExitStatus, c.status) << c.line;
  }
}

}  // namespace
}  // namespace rh
