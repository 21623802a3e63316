#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "output/PrintedReport.h"

namespace rh {
namespace {

// A computed run and the deck it made ("" for a run without a deck).
struct Report {
  Run run;
  std::string deckPath;
  const RunResult& Result() const { return run.Result; }
};

Report Basin(double tc, bool hec1 = false, const std::string& deckPath = "") {
  return {test::ComputedBasin({tc, 2.5, 100, 0.85, 250, hec1}), deckPath};
}

std::string ReportText(const Report& r, const std::string& date, char point = '.') {
  return rh::ReportText(r.run, r.deckPath, date, point);
}

void PrintReport(const Report& r, Printer& printer, Clock& clock) {
  rh::PrintReport(r.run, r.deckPath, printer, clock.ShortDate());
}

std::vector<std::string> Lines(const std::string& text) {
  return test::CrLfLines(text);
}

std::string Golden(const std::string& name) {
  std::ifstream in(std::string(RH_GOLDEN_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PrintedReport, Tc10MatchesTheCheckedReport) {
  const std::string report = ReportText(Basin(10), "12/7/2026");
  EXPECT_EQ(report, Golden("report_tc10.txt"));
  const auto lines = Lines(report);
  ASSERT_EQ(lines.size(), 11u + 38u);
  EXPECT_EQ(lines[5], "TIME OF CONCENTRATION  10  MIN.");
  EXPECT_EQ(lines[8], "RUNOFF COEFFICIENT  .85 ");
  EXPECT_EQ(lines[12], "TIME (MIN) =  10 " + std::string(11, ' ') + " DISCHARGE (CFS) =  12.7 ");
}

TEST(PrintedReport, FileNameLineNamesTheDeck) {
  struct {
    const char* name;
    std::string deckPath;
    const char* line5;
  } cases[] = {
      {"deck", "C:\\RUNS\\RUN1.HC1", "HYDROGRAPH FILE NAME C:\\RUNS\\RUN1.HC1"},
      {"host path", "/home/engineer/run 1.hc1", "HYDROGRAPH FILE NAME /home/engineer/run 1.hc1"},
      {"no deck", "", "HYDROGRAPH FILE NAME "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Lines(ReportText(Basin(10, true, c.deckPath), "d"))[4], c.line5) << c.name;
}

TEST(PrintedReport, DischargeStartsInTheThirdPrintZone) {
  for (const double tc : {5.0, 10.0, 15.0, 360.0, 720.0, 41161.0}) {
    for (const bool hec1 : {false, true}) {
      const Report s = Basin(tc, hec1);
      const auto lines = Lines(ReportText(s, "d"));
      ASSERT_EQ(lines.size(), 11u + static_cast<std::size_t>(s.Result().OrdinateCount) + 1u);
      for (std::size_t i = 11; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find(" DISCHARGE (CFS) = "), 28u) << "Tc " << tc << ": " << lines[i];
        EXPECT_EQ(lines[i].rfind("TIME (MIN) = ", 0), 0u) << lines[i];
      }
    }
  }
}

TEST(PrintedReport, NumbersFollowThePrintersDecimalPoint) {
  const auto lines = Lines(ReportText(Basin(10), "d", ','));
  EXPECT_EQ(lines[6], "6 HOUR RAINFALL  2,5  INCHES");
  EXPECT_EQ(lines[8], "RUNOFF COEFFICIENT  ,85 ");
  EXPECT_EQ(lines[12], "TIME (MIN) =  10 " + std::string(11, ' ') + " DISCHARGE (CFS) =  12,7 ");
}

TEST(PrintedReport, ZonesAreMeasuredInThePrinterFont) {
  // A proportional font: digits narrower than the average character. The discharge item starts
  // at 28 average widths on every line, however wide the time was.
  test::RecordingPrinter printer;
  printer.columnWidth = 7.5;
  printer.digitWidth = 5;
  test::FixedClock clock;
  const Report s = Basin(5, true);
  PrintReport(s, printer, clock);
  ASSERT_EQ(printer.jobs.size(), 1u);
  const auto& lines = printer.jobs[0].lines;
  for (long n = 0; n <= s.Result().OrdinateCount; ++n) {
    const auto& line = lines[11 + static_cast<std::size_t>(n)];
    ASSERT_EQ(line.size(), 4u);
    EXPECT_EQ(line[2].text, " DISCHARGE (CFS) = ");
    EXPECT_DOUBLE_EQ(line[2].x, 28 * 7.5) << n;
  }
}

TEST(PrintedReport, EachPrintIsOneCompleteJob) {
  test::RecordingPrinter printer;
  test::FixedClock clock;
  const Report s = Basin(10, true, "C:\\RUNS\\RUN1.HC1");
  PrintReport(s, printer, clock);
  PrintReport(s, printer, clock);
  ASSERT_EQ(printer.jobs.size(), 2u);
  for (const auto& job : printer.jobs) {
    EXPECT_TRUE(job.ended);
    EXPECT_FALSE(job.aborted);
  }
  EXPECT_EQ(test::RecordingPrinter::Texts(printer.jobs[0]),
            test::RecordingPrinter::Texts(printer.jobs[1]));
  // The title block as in the file form; a table line's runs without the zone's padding.
  const auto expected = Lines(ReportText(s, "12/7/2026"));
  const auto printed = test::RecordingPrinter::Texts(printer.jobs[0]);
  ASSERT_EQ(printed.size(), expected.size() + 1);  // and the empty line after the last line end
  for (std::size_t i = 0; i < 11; ++i)
    EXPECT_EQ(printed[i], expected[i]);
  EXPECT_EQ(printed[4], "HYDROGRAPH FILE NAME C:\\RUNS\\RUN1.HC1");
  EXPECT_EQ(printed[12], "TIME (MIN) =  10  DISCHARGE (CFS) =  12.7 ");
  EXPECT_EQ(printed.back(), "");
}

TEST(PrintedReport, AFaultAbortsTheJob) {
  struct {
    const char* name;
    int failAtWrite;
    bool failAtEndDoc;
    bool printerFault;
  } cases[] = {
      {"first write", 1, false, true},
      {"inside the table", 40, false, true},
      {"releasing the job", 0, true, true},
      {"other error while printing", 12, false, false},
  };
  for (const auto& c : cases) {
    test::RecordingPrinter printer;
    printer.failAtWrite = c.failAtWrite;
    printer.failAtEndDoc = c.failAtEndDoc;
    printer.faultIsPrinterFault = c.printerFault;
    printer.fault = "paper jam";
    test::FixedClock clock;
    try {
      PrintReport(Basin(10), printer, clock);
      ADD_FAILURE() << c.name << ": no fault";
    } catch (const PrinterFault& fault) {
      EXPECT_STREQ(fault.what(), "paper jam") << c.name;
    }
    ASSERT_EQ(printer.jobs.size(), 1u) << c.name;
    EXPECT_TRUE(printer.jobs[0].aborted) << c.name;
    EXPECT_FALSE(printer.jobs[0].ended) << c.name;
  }
}

}  // namespace
}  // namespace rh
