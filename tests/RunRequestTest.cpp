#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fakes.h"
#include "app/Init.h"
#include "app/RunRequest.h"
#include "app/Settings.h"
#include "core/Faults.h"
#include "core/Messages.h"

namespace rh {
namespace {

// A run request from the main screen, counting the settings writes it asked for.
struct Request {
  Init state;
  int settingsWrites = 0;
  RequestOutcome Run(const RunEntries& entries) {
    return RequestRun(state, entries, [this] { ++settingsWrites; });
  }
};

std::string Warning(const RequestOutcome& outcome) {
  const Refusal* refusal = std::get_if<Refusal>(&outcome);
  return refusal == nullptr ? std::string() : refusal->Title + "|" + refusal->Text;
}

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
    Request request;
    EXPECT_EQ(Warning(request.Run(c.entries)), c.warning) << c.name;
    // The companion and batch tables read entries the same way.
    EXPECT_EQ(Warning(ParseRunEntries(c.entries, kZeroTail)), c.warning) << c.name;
  }
}

TEST(RequestRun, IncompleteEntriesChangeNothing) {
  Request request;
  request.state.ReportPath = "/before";
  request.Run(Entries("10", " "));
  EXPECT_EQ(request.state.ReportPath, "/before");
  EXPECT_EQ(request.state.Inputs.TimeOfConcentration, 0);
  EXPECT_EQ(request.settingsWrites, 0);
}

TEST(RequestRun, ShortTimeOfConcentrationHasAlreadyStoredPathAndTc) {
  Request request;
  request.Run(Entries("4.49", "2.5", "100", ".85", "250", " /runs/a.hc1 "));
  EXPECT_EQ(request.state.ReportPath, " /runs/a.hc1 ") << "stored untrimmed";
  EXPECT_EQ(request.settingsWrites, 1);
  EXPECT_EQ(request.state.Inputs.TimeOfConcentration, 4);
  EXPECT_EQ(request.state.Inputs.SixHourRainfall, 0) << "later entries are not parsed";
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
    Request request;
    const RequestOutcome outcome = request.Run(c.entries);
    ASSERT_TRUE(std::holds_alternative<RunInputs>(outcome)) << c.name;
    const RunInputs& in = std::get<RunInputs>(outcome);
    EXPECT_EQ(in.TimeOfConcentration, c.tc) << c.name;
    EXPECT_EQ(in.SixHourRainfall, c.rain) << c.name;
    EXPECT_EQ(in.BasinArea, c.area) << c.name;
    EXPECT_EQ(in.RunoffCoefficient, c.coef) << c.name;
    EXPECT_EQ(in.PeakDischarge, c.peak) << c.name;
    EXPECT_EQ(request.state.Inputs.PeakDischarge, c.peak) << c.name;
  }
}

TEST(RequestRun, EmptyPathDoesNotBlockARun) {
  Request request;
  EXPECT_TRUE(std::holds_alternative<RunInputs>(
      request.Run(Entries("10", "2.5", "100", ".85", "250", ""))));
  EXPECT_EQ(request.state.ReportPath, "");
}

TEST(RequestRun, EntryBeyondTheDoubleRangeStopsTheRun) {
  Request request;
  request.state.Inputs.BasinArea = 7;
  EXPECT_THROW(request.Run(Entries("10", "2.5", "1e999")), ArithmeticFault);
  EXPECT_EQ(request.state.Inputs.BasinArea, 7);
  EXPECT_EQ(request.state.Inputs.SixHourRainfall, 0);
}

TEST(RequestRun, WritesTheSettingsFileWithTheSwitchOn) {
  test::MemoryFileSystem files;
  Init s;
  InitializeState(s, true, "/opt/rh/", "/");
  RequestRun(s, Entries("3", "2.5", "100", ".85", "250", "/runs/new.hc1"),
             [&] { WriteSettings(s, files); });
  ASSERT_EQ(files.files.count("/opt/rh/Setup.ini"), 1u) << "written before the Tc check";
  EXPECT_NE(files.files["/opt/rh/Setup.ini"].find("/runs/new.hc1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace rh
