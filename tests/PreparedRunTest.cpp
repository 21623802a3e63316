#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "app/run/PreparedRun.h"
#include "app/run/RunRequest.h"
#include "app/window/Init.h"
#include "app/window/Settings.h"
#include "core/Faults.h"

namespace rh {
namespace {

RunEntries Entries(std::string tc, std::string rain = "2.5", std::string area = "100",
                   std::string coef = ".85", std::string peak = "250", std::string path = "Text1") {
  return {std::move(path), std::move(tc),   std::move(rain),
          std::move(area), std::move(coef), std::move(peak)};
}

// A run request from the main screen, counting the settings writes it asked for.
struct Request {
  Init state;
  test::MemoryFileSystem files;
  int settingsWrites = 0;
  PreparedRun Run(const RunEntries& entries) {
    return RequestRun(state, entries, files, [this] { ++settingsWrites; });
  }
};

// "TITLE|TEXT" of the warning that refuses `run`, "" when it is accepted.
template <typename Run>
std::string Warning(const Run& run) {
  try {
    run();
  } catch (const Refused& refusal) {
    return refusal.Title() + "|" + refusal.Text();
  }
  return {};
}

std::string EntryWarning(const std::string& entry, const std::string& text) {
  return messages::kEntryTitle + entry + "|" + entry + text;
}

const std::string kIncomplete =
    std::string(messages::kIncompleteTitle) + "|" + messages::kIncompleteText;
const std::string kTooShort = std::string(messages::kTcTitle) + "|" + messages::kTcText;

// The main screen and the companion read entries through the same step and refuse the same ones,
// with the first failure in screen order.
TEST(PrepareRun, Refusals) {
  const std::string rain = messages::kRainEntry, area = messages::kAreaEntry,
                    coef = messages::kCoefEntry, peak = messages::kPeakEntry;
  struct {
    const char* name;
    RunEntries entries;
    std::string warning;
  } cases[] = {
      {"blank time", Entries(""), kIncomplete},
      {"spaces only", Entries("10", "   "), kIncomplete},
      {"blank peak", Entries("10", "2.5", "100", ".85", ""), kIncomplete},
      {"4.49 rounds to 4", Entries("4.49"), kTooShort},
      {"text in Tc reads as 0", Entries("abc"), kTooShort},
      {"tab only in Tc", Entries("\t"), kTooShort},
      {"negative Tc", Entries("-10"), kTooShort},
      {"decimal comma in Tc", Entries("10,4"),
       EntryWarning(messages::kTcEntry, messages::kCommaText)},
      {"rain with no number", Entries("10", "abc"), EntryWarning(rain, messages::kNoNumberText)},
      {"rain after a letter", Entries("10", "x2.5"), EntryWarning(rain, messages::kNoNumberText)},
      {"rain a tab alone", Entries("10", "\t"), EntryWarning(rain, messages::kNoNumberText)},
      {"rain with a comma", Entries("10", "2,5"), EntryWarning(rain, messages::kCommaText)},
      {"negative rain", Entries("10", "-2.5"), EntryWarning(rain, messages::kNegativeText)},
      {"negative area", Entries("10", "2.5", "-5"), EntryWarning(area, messages::kNegativeText)},
      {"coefficient above 1", Entries("10", "2.5", "100", "1.5"),
       EntryWarning(coef, messages::kAboveOneText)},
      {"negative peak", Entries("10", "2.5", "100", ".85", "-1"),
       EntryWarning(peak, messages::kNegativeText)},
      {"only the first failure", Entries("10", "abc", "-1", "7"),
       EntryWarning(rain, messages::kNoNumberText)},
      // 2 C A I(20) = 457.94 cfs; a block of -0.05 still lists as 0.
      {"peak beyond the storm", Entries("10", "2.5", "100", ".85", "500"),
       EntryWarning(
           peak, std::string(" value must be 457.9") + messages::kPeakTooLargeText + "358 cfs.")},
      {"largest peak accepted", Entries("10", "2.5", "100", ".85", "457.9"), ""},
      {"zero area is left to the computation", Entries("10", "2.5", "0"), ""},
  };
  for (const auto& c : cases) {
    Request window;
    EXPECT_EQ(Warning([&] { window.Run(c.entries); }), c.warning) << c.name;
    test::MemoryFileSystem files;
    EXPECT_EQ(Warning([&] { PrepareRun(c.entries, {}, files); }), c.warning) << c.name;
  }
}

TEST(PrepareRun, AcceptedEntriesBecomeTheRunInputs) {
  struct {
    const char* name;
    RunEntries entries;
    double tc, rain, area, coef, peak;
  } cases[] = {
      {"4.5 rounds up to 5", Entries("4.5", "2.5", "100", ".85", "400"), 5, 2.5, 100, 0.85, 400},
      {"7.6 gives 8", Entries("7.6", "2.5", "100", ".85", "400"), 8, 2.5, 100, 0.85, 400},
      {"trimmed and read by Val", Entries(" 1 0 ", "2.5in", " 1E2 ", ".85", "250cfs"), 10, 2.5, 100,
       0.85, 250},
      {"the chart's peak", Entries("10", "2.5", "100", ".85", " Chart "), 10, 2.5, 100, 0.85, 358},
  };
  for (const auto& c : cases) {
    Request request;
    const RunInputs in = request.Run(c.entries).Inputs;
    EXPECT_EQ(in.TimeOfConcentration, c.tc) << c.name;
    EXPECT_EQ(in.SixHourRainfall, c.rain) << c.name;
    EXPECT_EQ(in.BasinArea, c.area) << c.name;
    EXPECT_EQ(in.RunoffCoefficient, c.coef) << c.name;
    EXPECT_EQ(in.PeakDischarge, c.peak) << c.name;
  }
}

// What each front end asks for beyond its entries becomes the run's tail, deck and peak.
TEST(PrepareRun, FrontEndsChoices) {
  struct {
    const char* name;
    RunChoices choices;
    std::string peak;
    long zeroTail;
    std::optional<std::string> deck, listing;
    double peakCfs;
  } cases[] = {
      {"window, switch off", {}, "250", kZeroTail, {}, {}, 250},
      {"window or companion with a deck",
       [] {
         RunChoices c;
         c.Hec1 = true;
         c.DeckPath = "/runs/a.hc1";
         return c;
       }(),
       "250",
       kZeroTailHec1,
       "/runs/a.hc1",
       {},
       250},
      {"companion, --peak chart", {}, "chart", kZeroTail, {}, {}, 358},
      {"batch row, empty peak cell, listing and deck",
       [] {
         RunChoices c;
         c.ChartPeak = true;
         c.Hec1 = true;
         c.DeckPath = "out/A.hc1";
         c.Outputs.push_back({OutputKind::Listing, "out/A.txt"});
         return c;
       }(),
       "", kZeroTailHec1, "out/A.hc1", "out/A.txt", 358},
  };
  for (const auto& c : cases) {
    test::MemoryFileSystem files;
    const PreparedRun run =
        PrepareRun(Entries("10", "2.5", "100", ".85", c.peak), c.choices, files);
    EXPECT_EQ(run.Inputs.ZeroTail, c.zeroTail) << c.name;
    const auto path = [&](OutputKind kind) {
      const std::string* found = run.Request.PathOf(kind);
      return found != nullptr ? std::optional<std::string>(*found) : std::nullopt;
    };
    EXPECT_EQ(path(OutputKind::Deck), c.deck) << c.name;
    EXPECT_EQ(path(OutputKind::Listing), c.listing) << c.name;
    EXPECT_EQ(run.Inputs.PeakDischarge, c.peakCfs) << c.name;
  }
}

TEST(PrepareRun, OutputsNeverLandOnInputsOrEachOther) {
  auto rainfall = std::make_shared<TableRainfall>(
      TableRainfall{DepthDurationTable({{5, 0.5}, {400, 3}}), "r.csv", "", "tables/r.csv"});
  RunChoices onTable;
  onTable.Rainfall = rainfall;
  onTable.Hec1 = true;
  onTable.DeckPath = "tables/./r.csv";
  RunChoices twoOnOne;
  twoOnOne.Outputs = {{OutputKind::Plot, "out/x.svg"}, {OutputKind::Listing, "out/sub/../x.svg"}};
  RunChoices onBatchTable;
  onBatchTable.Outputs.push_back({OutputKind::Listing, "out/A.txt"});
  onBatchTable.OtherFiles.push_back({"basin table", "out/A.txt"});
  for (const RunChoices* choices : {&onTable, &twoOnOne, &onBatchTable}) {
    test::MemoryFileSystem files;
    EXPECT_THROW(PrepareRun(Entries("10"), *choices, files), UsageError);
  }
}

TEST(RequestRun, IncompleteEntriesChangeNothing) {
  Request request;
  request.state.ReportPath = "/before";
  EXPECT_THROW(request.Run(Entries("10", " ")), Refused);
  EXPECT_EQ(request.state.ReportPath, "/before");
  EXPECT_EQ(request.settingsWrites, 0);
}

TEST(RequestRun, ShortTimeOfConcentrationHasAlreadyStoredThePath) {
  Request request;
  EXPECT_THROW(request.Run(Entries("4.49", "2.5", "100", ".85", "250", " /runs/a.hc1 ")), Refused);
  EXPECT_EQ(request.state.ReportPath, " /runs/a.hc1 ") << "stored untrimmed";
  EXPECT_EQ(request.settingsWrites, 1);
}

TEST(RequestRun, EmptyPathDoesNotBlockARun) {
  Request request;
  request.Run(Entries("10", "2.5", "100", ".85", "250", ""));
  EXPECT_EQ(request.state.ReportPath, "");
}

TEST(RequestRun, EntryBeyondTheDoubleRangeStopsTheRun) {
  Request request;
  EXPECT_THROW(request.Run(Entries("10", "2.5", "1e999")), ArithmeticFault);
}

TEST(RequestRun, WritesTheSettingsFileWithTheSwitchOn) {
  test::MemoryFileSystem files;
  Init s;
  InitializeState(s, true, "/opt/rh/", "/");
  EXPECT_THROW(RequestRun(s, Entries("3", "2.5", "100", ".85", "250", "/runs/new.hc1"), files,
                          [&] { WriteSettings(s, files); }),
               Refused);
  ASSERT_EQ(files.files.count("/opt/rh/Setup.ini"), 1u) << "written before the Tc check";
  EXPECT_NE(files.files["/opt/rh/Setup.ini"].find("/runs/new.hc1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace rh
