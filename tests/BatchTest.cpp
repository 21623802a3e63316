#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "Basins.h"
#include "Bounded.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "app/companion/Batch.h"
#include "app/tables/FileCache.h"
#include "core/Faults.h"
#include "output/Hec1Deck.h"
#include "output/ResultsListing.h"

namespace rh {
namespace {

const std::string kHeader = "name,tc,rain,area,coef,peak\n";

// The listing file a basin should get: the results list of the same entries, LF line ends.
std::string ExpectedListing(double tc, double p6, double area, double coef, double peak,
                            bool hec1 = false) {
  std::string text;
  for (const std::string& line :
       BuildResultLines(test::ComputedBasin({tc, p6, area, coef, peak, hec1})))
    text += line + "\n";
  return text;
}

// A batch over in-memory files: the rows as reported, in order, and the summary's text.
struct Batch {
  test::MemoryFileSystem files;
  test::FixedClock clock;
  struct Report {
    std::vector<BatchRow> Rows;
    long Failed = 0;
    std::string TableProblem;
  } report;
  std::string summary;

  void Run(const std::string& csv, const BatchOptions& options) {
    TextReader table(csv);
    const BatchTally tally = RunBatch(
        table, options, RunServices{files, clock, nullptr},
        [this](const BatchRow& row) { report.Rows.push_back(row); },
        [this](std::string_view text) { summary.append(text); });
    report.Failed = tally.Failed;
    report.TableProblem = tally.TableProblem;
    EXPECT_EQ(tally.Rows, static_cast<long>(report.Rows.size()));
  }
};

BatchOptions Out(bool hec1 = false, bool summaryOnly = false) {
  BatchOptions o;
  o.Table = "basins.csv";
  o.OutDir = "out";
  o.Hec1 = hec1;
  o.SummaryOnly = summaryOnly;
  o.Workers = 1;
  return o;
}

TEST(Batch, GoodAndBadRows) {
  Batch b;
  b.Run(kHeader +
            "Creek-A,10,2.5,100,.85,250\n"          // row 1: good
            ",10,2.5,100,.85,250\n"                 // row 2: empty name
            "creek-a,10,2.5,100,.85,250\n"          // row 3: repeats row 1 (case aside)
            "../etc,10,2.5,100,.85,250\n"           // row 4: not a safe file name
            ".hidden,10,2.5,100,.85,250\n"          // row 5: leading dot
            "Short,4.4,2.5,100,.85,250\n"           // row 6: Tc refused
            "Blank,10,  ,100,.85,250\n"             // row 7: blank entry refused
            "Flat,10,2.5,0,.85,250\n"               // row 8: zero area, a fault
            "Few,10,2.5\n"                          // row 9: three columns
            "\"Q\"x,10,2.5,100,.85,250\n"           // row 10: text after a quote
            "\" B 2 \",7.6, 2.5in ,100,.85,250\n",  // row 11: entry texts as typed
        Out());

  struct {
    const char* name;
    RowStatus status;
    long line;
    const char* message;
  } expected[] = {
      {"Creek-A", RowStatus::Ok, 2, ""},
      {"", RowStatus::BadName, 3, "the basin name is empty"},
      {"creek-a", RowStatus::BadName, 4, "the basin name \"creek-a\" is used by an earlier row"},
      {"../etc", RowStatus::BadName, 5, "the basin name \"../etc\" is not a safe file name"},
      {".hidden", RowStatus::BadName, 6, "the basin name \".hidden\" is not a safe file name"},
      {"Short", RowStatus::Refused, 7, "ERROR In Time of Concentration: "},
      {"Blank", RowStatus::Refused, 8, "ERROR Incomplete Input Data: "},
      {"Flat", RowStatus::Fault, 9, "Division by zero"},
      {"Few", RowStatus::Malformed, 10, "3 columns instead of 6"},
      {"", RowStatus::Malformed, 11, "text follows a closing quote"},
      {"B 2", RowStatus::BadName, 12, "not a safe file name"},
  };
  ASSERT_EQ(b.report.Rows.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const BatchRow& row = b.report.Rows[i];
    const auto& e = expected[i];
    EXPECT_EQ(row.Row, static_cast<long>(i + 1)) << e.name;
    EXPECT_EQ(row.Line, e.line) << e.name;
    EXPECT_EQ(row.Name, e.name) << e.name;
    EXPECT_EQ(RowStatusName(row.Status), std::string(RowStatusName(e.status))) << e.name;
    EXPECT_NE(row.Message.find(e.message), std::string::npos) << e.name << ": " << row.Message;
  }
  EXPECT_EQ(b.report.Failed, 10);
  // Only the good row wrote a file, and it is the results list of its entries.
  ASSERT_EQ(b.files.files.size(), 1u);
  EXPECT_EQ(b.files.files.at("out/Creek-A.txt"), ExpectedListing(10, 2.5, 100, 0.85, 250));
}

TEST(Batch, EntryTextsReadAsTheEntryBoxesReadThem) {
  Batch b;
  b.Run(kHeader + "B2, 7.6 , 2.5in ,\"100\",.85,300\n", Out());
  ASSERT_EQ(b.report.Failed, 0);
  // 7.6 rounds to 8 minutes, "2.5in" reads as 2.5, spaces are trimmed.
  EXPECT_EQ(b.files.files.at("out/B2.txt"), ExpectedListing(8, 2.5, 100, 0.85, 300));
  EXPECT_EQ(b.report.Rows[0].OrdinateCount, 46);  // N = 45, one zero ordinate after
}

TEST(Batch, Summary) {
  Batch b;
  b.Run(kHeader + "A,10,2.5,100,.85,250\n\"x,y\",10,2.5,100,.85,250\nC,3,2.5,100,.85,250\n", Out());
  EXPECT_EQ(b.summary,
            "name,status,ordinate_count,peak_index,peak_cfs,volume_acre_ft,message,rainfall,ari,"
            "p6_in,qp_cfs,pond,peak_out_cfs,peak_out_min,max_storage_acft,max_stage_ft,drain_min\n"
            "A,ok,37,25,250,17.6006,,chart,,2.5,250,,,,,,\n"
            "\"x,y\",bad-name,,,,,\"row 2 (line 3): the basin name \"\"x,y\"\" is not a safe file "
            "name (letters, digits, '.', '_' and '-' only, no leading '.', at most 100 "
            "characters)\",chart,,,,,,,,,\n"
            "C,refused,,,,,row 3 (line 4): ERROR In Time of Concentration: Time of "
            "Concentration value must be 5 or greater.,chart,,,,,,,,,\n");
}

// A table with several return periods and none in the row: the message names the ari column, the
// place to give one.
TEST(Batch, AReturnPeriodIsAskedOfTheAriColumn) {
  Batch b;
  b.files.files["atlas.csv"] = test::ReadFile(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");
  b.Run("name,tc,rain,area,coef,peak,rainfall\nA,10,,100,.85,,atlas.csv\n", Out());
  ASSERT_EQ(b.report.Rows.size(), 1u);
  EXPECT_EQ(b.report.Rows[0].Status, RowStatus::Refused);
  EXPECT_NE(b.report.Rows[0].Message.find("give the ari column, one of: 1, 2, 5"),
            std::string::npos)
      << b.report.Rows[0].Message;
}

// A row's pond, named relative to the table's folder, routes its hydrograph: the figures join the
// summary; a pond that overtops is a result (ok, no failure) its message tells of, and the rows
// after it run on.
TEST(Batch, RowsRoutedThroughTheirPonds) {
  Batch b;
  b.files.files["pond.csv"] = test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv");
  b.files.files["small.csv"] = "stage_ft,storage_acft,outflow_cfs\n0,0,0\n1,.5,5\n2,1,10\n";
  b.Run(
      "name,tc,rain,area,coef,peak,pond\nA,10,2.5,100,.85,250,pond.csv\nB,10,2.5,100,.85,250,"
      "small.csv\nW,10,4.5,100,.85,450,pond.csv\nC,10,2.5,100,.85,250,\n",
      Out());
  EXPECT_EQ(b.report.Failed, 0);
  const auto line = [&](const char* start) {
    const auto at = b.summary.find(std::string("\n") + start);
    return b.summary.substr(at + 1, b.summary.find('\n', at + 1) - at - 1);
  };
  EXPECT_EQ(line("A,"), "A,ok,37,25,250,17.6006,,chart,,2.5,250,pond.csv,32.3,277,10.035,4.57,513");
  EXPECT_EQ(line("B,").find("B,ok,37,25,250,17.6006,\"OVERTOPPED: "), 0u) << line("B,");
  // The listing's figures for a pond that overtops: over the top from 251 to 259 min, the water
  // at the top, 7 ft, and down again 9 h 36 min after.
  const std::string wet = line("W,");
  EXPECT_NE(wet.find(",\"OVERTOPPED: 1.555 ac-ft over the top, peak 235.4 cfs, from 251 to 259 "
                     "min\",chart,,4.5,450,pond.csv,"),
            std::string::npos)
      << wet;
  EXPECT_EQ(wet.substr(0, 5), "W,ok,");
  EXPECT_EQ(wet.substr(wet.size() - 6), ",7,576") << wet;
  EXPECT_NE(b.files.files.at("out/W.txt").find("\nOVERTOPPED FROM  251 MIN. TO  259 MIN.\n"),
            std::string::npos);
  EXPECT_EQ(line("C,"), "C,ok,37,25,250,17.6006,,chart,,2.5,250,,,,,,");
  EXPECT_NE(b.files.files.at("out/A.txt").find("\nPEAK OUTFLOW  32.3 CFS AT  277 MIN.\n"),
            std::string::npos);
}

TEST(Batch, Hec1DecksBesideTheListings) {
  Batch b;
  b.Run(kHeader + "A,10,2.5,100,.85,250\nB,15,2.5,100,.85,250\n", Out(true));
  // The deck and the listing show the same run: the HEC-1 tail of ten zeros (N = 36, 46 in all).
  EXPECT_EQ(b.report.Rows[0].OrdinateCount, 46);
  EXPECT_EQ(b.files.files.at("out/A.hc1"),
            Hec1DeckText(test::ComputedBasin({10, 2.5, 100, 0.85, 250, true}), "out/A.hc1",
                         b.clock.ShortDate()));
  EXPECT_EQ(b.files.files.count("out/B.hc1"), 1u);
  EXPECT_EQ(b.files.files.at("out/A.txt"), ExpectedListing(10, 2.5, 100, 0.85, 250, true));
}

TEST(Batch, SummaryOnlyWritesNoFiles) {
  Batch b;
  b.Run(kHeader + "A,10,2.5,100,.85,250\n", Out(false, true));
  EXPECT_TRUE(b.files.files.empty());
  ASSERT_EQ(b.report.Rows.size(), 1u);
  EXPECT_EQ(b.report.Rows[0].PeakIndex, 25);
  EXPECT_EQ(b.report.Rows[0].PeakCfs, 250);
}

TEST(Batch, FileFaultStopsOnlyItsRow) {
  Batch b;
  b.files.unwritable.insert("out/A.txt");
  b.Run(kHeader + "A,10,2.5,100,.85,250\nB,10,2.5,100,.85,250\n", Out());
  ASSERT_EQ(b.report.Rows.size(), 2u);
  EXPECT_EQ(b.report.Rows[0].Status, RowStatus::Fault);
  EXPECT_EQ(b.report.Rows[0].Message, "Cannot write out/A.txt");
  EXPECT_EQ(b.report.Rows[1].Status, RowStatus::Ok);
  EXPECT_EQ(b.files.files.count("out/B.txt"), 1u);
}

TEST(Batch, UnclosedQuoteEndsTheTable) {
  Batch b;
  b.Run(kHeader + "A,10,2.5,100,.85,250\n\"B,10,2.5,100,.85,250\nC,10,2.5,100,.85,250\n", Out());
  ASSERT_EQ(b.report.Rows.size(), 2u);
  EXPECT_EQ(b.report.Rows[1].Status, RowStatus::Malformed);
  EXPECT_EQ(RowProblem(b.report.Rows[1]),
            "row 2 (line 3): the quoted field opened on line 3 is not closed");
}

TEST(Batch, HeaderRow) {
  struct {
    const char* name;
    std::string csv;
    bool usable;
  } cases[] = {
      {"exact", "name,tc,rain,area,coef,peak\n", true},
      {"spaces and capitals", " Name , TC,Rain,AREA,coef,peak\r\n", true},
      {"missing", "A,10,2.5,100,.85,250\n", false},
      {"columns swapped", "name,rain,tc,area,coef,peak\n", false},
      {"extra column", "name,tc,rain,area,coef,peak,x\n", false},
      {"optional columns in any order", "name,tc,rain,area,coef,peak,pond,ARI,rainfall\n", true},
      {"an optional column twice", "name,tc,rain,area,coef,peak,ari,ari\n", false},
      {"empty file", "", false},
  };
  for (const auto& c : cases) {
    Batch b;
    b.Run(c.csv, Out());
    EXPECT_EQ(b.report.TableProblem.empty(), c.usable) << c.name << ": " << b.report.TableProblem;
    EXPECT_TRUE(b.report.Rows.empty()) << c.name;
  }
}

// Names and entries of any bytes and any length: the messages quote at most 80 characters of
// them and the summary is valid UTF-8 CSV.
TEST(Batch, WhatTheTableHoldsReachesTheSummaryAsText) {
  const std::string huge(100000, 'x');
  struct {
    const char* name;
    std::string row;
    std::string shownName;
    std::string messageHas;
  } cases[] = {
      {"a NUL byte", std::string("a\0b,10,2.5,100,.85,250\n", 23), "a?b", "\"a?b\" is not a safe"},
      {"bytes that are not UTF-8", "caf\xE9\xFF,10,2.5,100,.85,250\n", "caf??", "\"caf??\""},
      {"a malformed row",
       std::string("a\0\x01"
                   "b,10\n",
                   8),
       "a??b", "2 columns instead of 6"},
      {"a name of 100,000 characters", huge + ",10,2.5,100,.85,250\n",
       std::string(38, 'x') + "..." + std::string(39, 'x'),
       "\"" + std::string(38, 'x') + "..." + std::string(39, 'x') + "\" is not"},
      {"an entry beyond the double range", "Big,10,2.5,1e99999" + huge + ",.85,250\n", "Big",
       "Overflow: the entry \"1e99999" + std::string(31, 'x') + "..." + std::string(39, 'x') +
           "\" is beyond"},
  };
  for (const auto& c : cases) {
    Batch b;
    b.Run(kHeader + c.row, Out());
    ASSERT_EQ(b.report.Rows.size(), 1u) << c.name;
    EXPECT_EQ(b.report.Rows[0].Name, c.shownName) << c.name;
    EXPECT_NE(b.report.Rows[0].Message.find(c.messageHas), std::string::npos)
        << c.name << ": " << b.report.Rows[0].Message.substr(0, 200);
    EXPECT_LT(b.summary.size(), 800u) << c.name;
    EXPECT_EQ(b.summary.find('\0'), std::string::npos) << c.name;
    EXPECT_EQ(b.summary.find('\xFF'), std::string::npos) << c.name;
  }
}

// Rows run on several threads report in the table's order, with the same figures.
TEST(Batch, SeveralThreadsKeepTheTableOrder) {
  std::string csv = kHeader;
  for (int i = 0; i < 3000; ++i) {
    csv += "B" + std::to_string(i) + "," + std::to_string(i % 97) + ",2.5," +
           std::to_string(i % 7) + ",.85,250\n";
  }
  csv += "B17,10,2.5,100,.85,250\n";  // repeats an earlier row's name, far back
  Batch one;
  one.Run(csv, Out(false, true));
  BatchOptions threads = Out(false, true);
  threads.Workers = 3;
  Batch several;
  several.Run(csv, threads);
  EXPECT_EQ(several.summary, one.summary);
  ASSERT_EQ(several.report.Rows.size(), 3001u);
  for (std::size_t i = 0; i < several.report.Rows.size(); ++i)
    ASSERT_EQ(several.report.Rows[i].Row, static_cast<long>(i + 1));
  EXPECT_EQ(several.report.Rows.back().Status, RowStatus::BadName);
  EXPECT_EQ(several.report.Failed, one.report.Failed);
}

// A volume beyond the range of a double leaves the summary's volume empty; the row is done.
TEST(Batch, AVolumeBeyondTheCheckHasNoFigure) {
  Batch b;
  b.Run(kHeader + "Huge,10,2.5,1e305,.85,3e305\n", Out(false, true));
  ASSERT_EQ(b.report.Rows.size(), 1u);
  EXPECT_EQ(b.report.Rows[0].Status, RowStatus::Ok) << b.report.Rows[0].Message;
  EXPECT_NE(b.summary.find("\nHuge,ok,37,25,3E+305,,,chart,,2.5,3E+305,,,,,,\n"), std::string::npos)
      << b.summary;
}

// The cache keeps the entries used last: one that has left is made again when asked for; a key
// no path could be is never kept; a failure to make one keeps nothing.
TEST(FileCache, KeepsTheEntriesUsedLast) {
  FileCache<std::string> cache(2);
  std::string made;
  const auto get = [&](const std::string& key) {
    return cache.Get(key, [&] {
      made += key;
      return "from " + key;
    });
  };
  for (const char* key : {"a", "b", "a", "c", "a", "b"})
    EXPECT_EQ(get(key), std::string("from ") + key);
  EXPECT_EQ(made, "abcb");  // b left for c, being used before a
  const std::string endless(FileCache<std::string>::kMostKeyBytes + 1, 'k');
  get(endless);
  get(endless);
  EXPECT_EQ(made, "abcb" + endless + endless);
  EXPECT_THROW(cache.Get("d", []() -> std::string { throw std::bad_alloc(); }), std::bad_alloc);
  EXPECT_EQ(cache.Size(), 2u);
}

// Rows naming a different rainfall file each, all missing: the batch runs in the same memory
// however many there are.
TEST(Batch, ManyRainfallFilesInBoundedMemory) {
  if (test::kSanitized)
    GTEST_SKIP() << "memory bounds are not checked under AddressSanitizer";
  // The table, made as it is read.
  class Rows final : public ByteReader {
   public:
    std::size_t Read(char* buffer, std::size_t size) override {
      if (pending_.empty() && row_ <= 100000)
        pending_ = row_++ == 0 ? "name,tc,rain,area,coef,peak,rainfall\n"
                               : "B" + std::to_string(row_) + ",10,,100,.85,,rainfall-tables/" +
                                     std::to_string(row_) + ".csv\n";
      const std::size_t n = std::min(size, pending_.size());
      pending_.copy(buffer, n);
      pending_.erase(0, n);
      return n;
    }

   private:
    long row_ = 0;
    std::string pending_;
  };
  const int outcome = test::RunBounded(
      [] {
        test::MemoryFileSystem files;
        test::FixedClock clock;
        Rows table;
        BatchOptions options = Out(false, true);
        options.Table = "rows.csv";
        const BatchTally tally = RunBatch(table, options, {files, clock, nullptr}, {}, {});
        return tally.Failed == 100000 ? 0 : 1;
      },
      12, 30);
  EXPECT_EQ(outcome, 0);
}

TEST(Batch, SafeBasinNames) {
  struct {
    std::string name;
    bool safe;
  } cases[] = {
      {"Creek_1-a.v2", true},
      {std::string(100, 'x'), true},
      {std::string(101, 'x'), false},
      {"", false},
      {".", false},
      {"..", false},
      {".profile", false},
      {"a/b", false},
      {"a\\b", false},
      {"a b", false},
      {"caf\xC3\xA9", false},
      {"a:b", false},
      {"a\nb", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SafeBasinName(c.name), c.safe) << c.name;
}

}  // namespace
}  // namespace rh
