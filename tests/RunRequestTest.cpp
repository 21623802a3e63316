#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fakes.h"
#include "app/Messages.h"
#include "app/RunRequest.h"
#include "app/Settings.h"
#include "platform/Faults.h"

namespace rh {
namespace {

// Records what a run request asked of the screens.
struct Screens {
  std::vector<std::string> warnings;
  int results = 0;
  int settingsWrites = 0;
  RunRequestOps Ops() {
    return {[this](const std::string& t, const std::string& x) { warnings.push_back(t + "|" + x); },
            [this] { ++settingsWrites; }, [this] { ++results; }};
  }
};

RunEntries Entries(std::string tc, std::string rain = "2.5", std::string area = "100",
                   std::string coef = ".85", std::string peak = "250", std::string path = "Text1") {
  return {std::move(path), std::move(tc),   std::move(rain),
          std::move(area), std::move(coef), std::move(peak)};
}

const std::string kIncomplete =
    std::string(messages::kIncompleteTitle) + "|" + messages::kIncompleteText;
const std::string kTooShort = std::string(messages::kTcTitle) + "|" + messages::kTcText;

TEST(RequestRun, Refusals) {
  struct {
    const char* name;
    RunEntries entries;
    std::string warning;
  } cases[] = {
      {"blank time", Entries(""), kIncomplete},
      {"spaces only", Entries("10", "   "), kIncomplete},
      {"blank peak", Entries("10", "2.5", "100", ".85", ""), kIncomplete},
      {"4.49 rounds to 4", Entries("4.49"), kTooShort},
      {"text reads as 0", Entries("abc"), kTooShort},
      {"tab only passes the blank test", Entries("\t"), kTooShort},
      {"negative", Entries("-10"), kTooShort},
  };
  for (const auto& c : cases) {
    Init s;
    Screens screens;
    RequestRun(s, c.entries, screens.Ops());
    ASSERT_EQ(screens.warnings.size(), 1u) << c.name;
    EXPECT_EQ(screens.warnings[0], c.warning) << c.name;
    EXPECT_EQ(screens.results, 0) << c.name;
  }
}

TEST(RequestRun, IncompleteEntriesChangeNothing) {
  Init s;
  s.ReportPath = "/before";
  Screens screens;
  RequestRun(s, Entries("10", " "), screens.Ops());
  EXPECT_EQ(s.ReportPath, "/before");
  EXPECT_EQ(s.TimeOfConcentration, 0);
  EXPECT_EQ(screens.settingsWrites, 0);
}

TEST(RequestRun, ShortTimeOfConcentrationHasAlreadyStoredPathAndTc) {
  Init s;
  Screens screens;
  RequestRun(s, Entries("4.49", "2.5", "100", ".85", "250", " /runs/a.hc1 "), screens.Ops());
  EXPECT_EQ(s.ReportPath, " /runs/a.hc1 ") << "stored untrimmed";
  EXPECT_EQ(screens.settingsWrites, 1);
  EXPECT_EQ(s.TimeOfConcentration, 4);
  EXPECT_EQ(s.SixHourRainfall, 0) << "later entries are not parsed";
}

TEST(RequestRun, AcceptedEntriesBecomeTheRunInputs) {
  struct {
    const char* name;
    RunEntries entries;
    double tc, rain, area, coef, peak;
  } cases[] = {
      {"4.5 rounds up to 5", Entries("4.5"), 5, 2.5, 100, 0.85, 250},
      {"7.6 gives 8", Entries("7.6"), 8, 2.5, 100, 0.85, 250},
      {"trimmed and read by Val", Entries(" 1 0 ", "2.5in", " 1E2 ", ".85", "250cfs"), 10, 2.5, 100,
       0.85, 250},
      {"text area reads as 0", Entries("10", "2.5", "abc"), 10, 2.5, 0, 0.85, 250},
  };
  for (const auto& c : cases) {
    Init s;
    Screens screens;
    RequestRun(s, c.entries, screens.Ops());
    EXPECT_TRUE(screens.warnings.empty()) << c.name;
    EXPECT_EQ(screens.results, 1) << c.name;
    EXPECT_EQ(s.TimeOfConcentration, c.tc) << c.name;
    EXPECT_EQ(s.SixHourRainfall, c.rain) << c.name;
    EXPECT_EQ(s.BasinArea, c.area) << c.name;
    EXPECT_EQ(s.RunoffCoefficient, c.coef) << c.name;
    EXPECT_EQ(s.Discharge(1), c.peak) << c.name;
  }
}

TEST(RequestRun, EmptyPathDoesNotBlockARun) {
  Init s;
  Screens screens;
  RequestRun(s, Entries("10", "2.5", "100", ".85", "250", ""), screens.Ops());
  EXPECT_EQ(screens.results, 1);
  EXPECT_EQ(s.ReportPath, "");
}

TEST(RequestRun, EntryBeyondTheDoubleRangeStopsTheRun) {
  Init s;
  s.BasinArea = 7;
  Screens screens;
  EXPECT_THROW(RequestRun(s, Entries("10", "2.5", "1e999"), screens.Ops()), ArithmeticFault);
  EXPECT_EQ(screens.results, 0);
  EXPECT_EQ(s.BasinArea, 7);
  EXPECT_EQ(s.SixHourRainfall, 0);
}

TEST(RequestRun, WritesTheSettingsFileWithTheSwitchOn) {
  test::MemoryFileSystem files;
  Init s;
  InitializeState(s, true, "/opt/rh/", "/");
  Screens screens;
  RunRequestOps ops = screens.Ops();
  ops.WriteSettings = [&] { WriteSettings(s, files); };
  RequestRun(s, Entries("3", "2.5", "100", ".85", "250", "/runs/new.hc1"), ops);
  ASSERT_EQ(files.files.count("/opt/rh/Setup.ini"), 1u) << "written before the Tc check";
  EXPECT_NE(files.files["/opt/rh/Setup.ini"].find("/runs/new.hc1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace rh
