#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "app/run/RunBasin.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "output/Hec1Deck.h"

namespace rh {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::ScratchDir;

// A computed run with the HEC-1 tail and the path its deck goes to.
struct Deck {
  Run run;
  std::string path;
  const RunResult& Result() const { return run.Result; }
};

Deck Basin(double tc, double area = 100, const std::string& path = "C:\\RUNS\\RUN1.HC1") {
  return {test::ComputedBasin({tc, 2.5, area, 0.85, 250, true}), path};
}

std::string Hec1DeckText(const Deck& deck, const std::string& date) {
  return rh::Hec1DeckText(deck.run, deck.path, date);
}

// Writes the deck as a run does; the failure, when there is one.
std::optional<OutputFailure> WriteDeck(const Deck& deck, FileSystem& files) {
  test::FixedClock clock;
  OutputRequest request;
  request.Outputs.push_back({OutputKind::Deck, deck.path});
  return RunBasin(deck.run.Inputs, request, RunServices{files, clock, nullptr}).Failure;
}

std::vector<std::string> Lines(const std::string& text) {
  return test::CrLfLines(text);
}

std::vector<std::string> QiLines(const std::string& deck) {
  std::vector<std::string> qi;
  for (const std::string& line : Lines(deck)) {
    if (line.rfind("QI", 0) == 0)
      qi.push_back(line);
  }
  return qi;
}

TEST(Hec1Deck, Tc15MatchesTheCheckedDeck) {
  const std::string deck = Hec1DeckText(Basin(15), "12/7/2026");
  EXPECT_EQ(deck, ReadFile(std::string(RH_GOLDEN_DIR) + "/deck_tc15.hc1"));
  const auto lines = Lines(deck);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "KK RUN1.HC1");
  EXPECT_EQ(lines[1], "KM RUN DATE   12/7/2026");
  EXPECT_EQ(lines[3].substr(0, 3), "KM ");
  EXPECT_EQ(lines[4], "KM 6HR RAINFALL IS  2.5  INCHES");
  EXPECT_EQ(lines[5], "KM RATIONAL METHOD RUNOFF COEFFICIENT IS  .85 ");
  EXPECT_EQ(lines[6], "KM RATIONAL METHOD TIME OF CONCENTRATION IS  15  MIN.");
  EXPECT_EQ(lines[9], "BA .1563 ");
  EXPECT_EQ(lines[10], "IN 15 01JAN90  1153 ");
  EXPECT_EQ(lines[11].substr(0, 16), "QI 0  12.8  13.1");
}

TEST(Hec1Deck, StartTimeOfTheFirstOrdinate) {
  struct {
    double tc;
    std::int16_t peakIndex;
    std::int16_t hhmm;
    const char* inLine;
  } cases[] = {
      {10, 25, 1155, "IN 10 01JAN90  1155 "},
      {5, 49, 1158, "IN 5 01JAN90  1158 "},
      {15, 17, 1153, "IN 15 01JAN90  1153 "},
      {720, 2, -200, "IN 720 01JAN90 -200 "},
      // The last time of concentration before HH x 100 leaves the 16-bit range.
      {41161, 1, -32700, "IN 41161 01JAN90 -32700 "},
  };
  for (const auto& c : cases) {
    const Deck s = Basin(c.tc);
    EXPECT_EQ(s.Result().PeakIndex, c.peakIndex) << c.tc;
    EXPECT_EQ(Hec1StartTime(c.tc, s.Result().PeakIndex), c.hhmm) << c.tc;
    EXPECT_EQ(Lines(Hec1DeckText(s, "d"))[10], c.inLine) << c.tc;
  }
}

TEST(Hec1Deck, StartTimeRoundsMinutesAndFloorsHours) {
  struct {
    const char* name;
    double tc;
    std::int16_t peakIndex;
    std::int16_t hhmm;
  } cases[] = {
      // X = (H + 240 - P x Tc) / 60 + 12 hours; HH = floor(X), MM = the rest in whole minutes.
      {"start on the half hour", 60, 5, 1130},          // X = (30 + 240 - 300) / 60 + 12 = 11.5
      {"whole minutes despite rounding", 7, 35, 1159},  // X = 12 - 1/60
      {"hours after noon", 900, 1, 830},                // X = (450 + 240 - 900) / 60 + 12 = 8.5
      {"before midnight", 60, 17, -70},                 // X = -0.5: HH = -1, MM = 30
      {"fraction of a negative hour", 2000, 1, -80},    // X = -2/3: HH = -1, MM = 20
  };
  for (const auto& c : cases)
    EXPECT_EQ(Hec1StartTime(c.tc, c.peakIndex), c.hhmm) << c.name;
}

TEST(Hec1Deck, StartTimeOverflowWritesNothing) {
  for (const double tc : {41162.0, 50000.0, 1e6}) {
    const Deck s = Basin(tc);
    EXPECT_THROW(Hec1StartTime(tc, s.Result().PeakIndex), ArithmeticFault) << tc;
    test::MemoryFileSystem files;
    files.files[s.path] = "earlier deck";
    const auto failure = WriteDeck(s, files);
    ASSERT_TRUE(failure) << tc;
    EXPECT_EQ(failure->Message, "Overflow.") << tc;
    EXPECT_EQ(files.writes, 0) << tc;
    EXPECT_EQ(files.files[s.path], "earlier deck") << tc;
  }
}

TEST(Hec1Deck, QiRecordsCarryTenOrdinatesAndTheClosingZero) {
  struct {
    const char* name;
    std::int32_t ordinateCount;
    std::vector<std::string> qi;
  } cases[] = {
      {"one ordinate", 0, {"QI 1  0 "}},
      {"nine ordinates", 8, {"QI 1  2  3  4  5  6  7  8  9  0 "}},
      {"ten ordinates", 9, {"QI 1  2  3  4  5  6  7  8  9  10 ", "QI 0 "}},
      {"eleven ordinates", 10, {"QI 1  2  3  4  5  6  7  8  9  10 ", "QI 11  0 "}},
      {"twenty ordinates",
       19,
       {"QI 1  2  3  4  5  6  7  8  9  10 ", "QI 11  12  13  14  15  16  17  18  19  20 ",
        "QI 0 "}},
  };
  for (const auto& c : cases) {
    Deck s = Basin(15);
    s.run.Result.OrdinateCount = c.ordinateCount;
    s.run.Result.Hydrograph.Reset(c.ordinateCount + 1);
    for (long n = 0; n <= c.ordinateCount; ++n)
      s.run.Result.Hydrograph(n) = static_cast<double>(n + 1);
    EXPECT_EQ(QiLines(Hec1DeckText(s, "d")), c.qi) << c.name;
  }
}

TEST(Hec1Deck, Tc5With83OrdinatesFillsNineQiRecords) {
  const Deck s = Basin(5);
  ASSERT_EQ(s.Result().OrdinateCount, 82);
  const auto qi = QiLines(Hec1DeckText(s, "d"));
  ASSERT_EQ(qi.size(), 9u);
  for (std::size_t i = 0; i < 8; ++i) {
    std::istringstream items(qi[i].substr(2));
    EXPECT_EQ(std::distance(std::istream_iterator<std::string>(items), {}), 10) << qi[i];
  }
  // Ordinates 80..82 are the last zeros of the tail, then the closing 0.
  EXPECT_EQ(qi[8], "QI 0  0  0  0 ");
}

TEST(Hec1Deck, StationNameIsTheFinalNamePart) {
  struct {
    const char* path;
    const char* station;
  } cases[] = {
      {"C:\\RUNS\\RUN1.HC1", "RUN1.HC1"},
      {"C:\\RUNS\\A.HC1", "A.HC1"},
      {"RUN1.HC1", "RUN1.HC1"},
      {"C:RUN1.HC1", "C:RUN1.HC1"},
      {"\\\\server\\share\\deck.hc1", "deck.hc1"},
      {"/home/engineer/runs/basin 7.hc1", "basin 7.hc1"},
      {"runs\\2026/final\\b.hc1", "b.hc1"},
      {"/home/engineer/", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hec1StationName(c.path), c.station) << c.path;
    EXPECT_EQ(Lines(Hec1DeckText(Basin(15, 100, c.path), "d"))[0], std::string("KK ") + c.station);
  }
}

TEST(Hec1Deck, AreaInSquareMilesToFourDecimalsHalfUp) {
  struct {
    double acres;
    double squareMiles;
    const char* baLine;
  } cases[] = {
      {100, 0.1563, "BA .1563 "},  // 0.15625 goes up
      {640, 1, "BA 1 "},           // one square mile
      {1, 0.0016, "BA .0016 "},    // 0.0015625
      {0.5, 0.0008, "BA .0008 "},  // 0.00078125
      {0.03, 0, "BA 0 "},          // below half the last place
      {6400.32, 10.0005, "BA 10.0005 "},
      {-100, -0.1562, "BA-.1562 "},  // floor of -1562.5 + 0.5; the sign takes the blank
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(Hec1AreaSquareMiles(c.acres), c.squareMiles) << c.acres;
    EXPECT_EQ(Lines(Hec1DeckText(Basin(15, c.acres), "d"))[9], c.baLine) << c.acres;
  }
}

// A numeric punctuation with a decimal comma, as many hosts are set up.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(Hec1Deck, DecimalPointWhateverTheLocale) {
  const std::string expected = Hec1DeckText(Basin(15), "12/7/2026");
  const std::locale before =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const std::string cLocale = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const std::string deck = Hec1DeckText(Basin(15), "12/7/2026");
  std::setlocale(LC_ALL, cLocale.c_str());
  std::locale::global(before);
  EXPECT_EQ(deck, expected) << (german ? "de_DE" : "comma facet only");
  EXPECT_NE(deck.find("KM 6HR RAINFALL IS  2.5  INCHES"), std::string::npos);
  EXPECT_EQ(deck.find(','), std::string::npos);
}

TEST(Hec1Deck, WrittenWholeThroughTheFileSystem) {
  ScratchDir dir;
  StdFileSystem files;
  EXPECT_FALSE(WriteDeck(Basin(15, 100, dir / "RUN1.HC1"), files));
  EXPECT_EQ(ReadFile(dir / "RUN1.HC1"), ReadFile(std::string(RH_GOLDEN_DIR) + "/deck_tc15.hc1"));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"RUN1.HC1"});
}

TEST(Hec1Deck, UnwritablePathsLeaveNoFileBehind) {
  StdFileSystem files;
  struct {
    const char* name;
    std::string relativePath;
    std::vector<std::string> entriesAfter;  // the scratch folder after the failed write
  } cases[] = {
      {"missing folder", "missing/deck.hc1", {"earlier.hc1"}},
      {"folder under a file", "earlier.hc1/deck.hc1", {"earlier.hc1"}},
      {"target is a folder", "busy", {"busy", "busy/keep.txt", "earlier.hc1"}},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    std::ofstream(dir / "earlier.hc1") << "earlier deck";
    fs::create_directory(dir.path() / "busy");
    std::ofstream(dir / "busy/keep.txt") << "keep";
    if (c.relativePath != "busy")
      fs::remove_all(dir.path() / "busy");
    EXPECT_TRUE(WriteDeck(Basin(15, 100, dir / c.relativePath), files)) << c.name;
    EXPECT_EQ(dir.Entries(), c.entriesAfter) << c.name;
    EXPECT_EQ(ReadFile(dir / "earlier.hc1"), "earlier deck") << c.name;
  }
  EXPECT_TRUE(WriteDeck(Basin(15, 100, ""), files)) << "empty path";
}

TEST(Hec1Deck, ReadOnlyFolderKeepsTheEarlierDeck) {
  ScratchDir dir;
  std::ofstream(dir / "RUN1.HC1") << "earlier deck";
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  // The superuser writes into read-only folders: only a plain user can see this fault.
  if (::access(dir.path().c_str(), W_OK) == 0)
    GTEST_SKIP() << "the folder stays writable for this user";
  StdFileSystem files;
  EXPECT_TRUE(WriteDeck(Basin(15, 100, dir / "RUN1.HC1"), files));
  EXPECT_EQ(ReadFile(dir / "RUN1.HC1"), "earlier deck");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"RUN1.HC1"});
}

TEST(Hec1Deck, OverflowKeepsTheEarlierDeckOnDisk) {
  ScratchDir dir;
  std::ofstream(dir / "RUN1.HC1") << "earlier deck";
  StdFileSystem files;
  EXPECT_TRUE(WriteDeck(Basin(50000, 100, dir / "RUN1.HC1"), files));
  EXPECT_EQ(ReadFile(dir / "RUN1.HC1"), "earlier deck");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"RUN1.HC1"});
}

}  // namespace
}  // namespace rh
