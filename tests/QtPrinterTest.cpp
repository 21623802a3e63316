#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "output/PrintedReport.h"
#include "output/TextForms.h"
#include "platform/FileSystem.h"
#include "platform/qt/GuiSession.h"
#include "platform/qt/QtPrinter.h"

namespace rh {
namespace {

using test::ScratchDir;

rh::Run Basin(double tc, bool hec1) {
  return test::ComputedBasin({tc, 2.5, 100, 0.85, 250, hec1});
}

constexpr const char* kDeck = "C:\\RUNS\\RUN1.HC1";

void PrintReport(const rh::Run& run, Printer& printer, Clock& clock) {
  rh::PrintReport(run, kDeck, printer, clock.ShortDate());
}

void WriteReport(const rh::Run& run, PrintTarget& target, const std::string& date) {
  rh::WriteReport(run, kDeck, target, date);
}

void PrintPdf(const rh::Run& s, const std::string& path, char decimalPoint = '.') {
  test::FixedClock clock;
  auto pdf = QtPrinter::Pdf(decimalPoint);
  PrintReport(s, *pdf, clock);
  std::ofstream(path, std::ios::binary) << pdf->PdfBytes();
}

std::string Squeezed(const std::string& line) {
  std::string out;
  for (const char c : line) {
    if (c != ' ' || out.empty() || out.back() != ' ')
      out += c;
  }
  return out;
}

TEST(QtPrinter, ZonesAreMeasuredInTheReportFont) {
  ScratchDir dir;
  auto printer = QtPrinter::Pdf('.');
  ASSERT_GT(printer->ColumnWidth(), 0);
  PrintStatement(*printer, {{"TIME (MIN) = ", Ending::Join}, {1000.0, Ending::NextZone}});
  EXPECT_NEAR(printer->CurrentX(), 28 * printer->ColumnWidth(), 1e-6);
  PrintStatement(*printer, {{" DISCHARGE (CFS) = ", Ending::Join}, {12.7, Ending::NextZone}});
  EXPECT_NEAR(printer->CurrentX(), 56 * printer->ColumnWidth(), 1e-6);
  printer->AbortDoc();
}

TEST(QtPrinter, LongReportsFlowOntoFurtherPages) {
  struct {
    double tc;
    bool hec1;
    int pages;
  } cases[] = {{10, false, 1}, {5, true, 2}};
  for (const auto& c : cases) {
    ScratchDir dir;
    auto printer = QtPrinter::Pdf('.');
    WriteReport(Basin(c.tc, c.hec1), *printer, "12/7/2026");
    EXPECT_EQ(printer->PageCount(), c.pages) << c.tc;
    printer->AbortDoc();
  }
  // A page holds the same number of lines each time.
  ScratchDir dir;
  auto printer = QtPrinter::Pdf('.');
  std::vector<int> firstLineOfPage = {0};
  for (int line = 0; line < 400; ++line) {
    PrintStatement(*printer, {{"LINE"}});
    if (printer->PageCount() > static_cast<int>(firstLineOfPage.size()))
      firstLineOfPage.push_back(line);
  }
  ASSERT_GE(firstLineOfPage.size(), 3u);
  const int perPage = firstLineOfPage[1];
  EXPECT_GT(perPage, 40);
  for (std::size_t page = 1; page < firstLineOfPage.size(); ++page)
    EXPECT_EQ(firstLineOfPage[page], static_cast<int>(page) * perPage);
  printer->AbortDoc();
}

TEST(QtPrinter, PdfReportReadsLikeThePrintedReport) {
  if (!test::HaveCommand("pdftotext"))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ScratchDir dir;
  const rh::Run s = Basin(5, true);
  PrintPdf(s, dir / "report.pdf");
  ASSERT_EQ(test::ReadFile(dir / "report.pdf").rfind("%PDF-", 0), 0u);
  const std::string text = test::PdfText(dir / "report.pdf");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2) << "two pages";

  std::vector<std::string> lines;
  for (const std::string& line : test::SplitLines(text)) {
    const std::string squeezed = Squeezed(line);
    if (!squeezed.empty() && squeezed != " " && squeezed != "\f")
      lines.push_back(line);
  }
  ASSERT_GE(lines.size(), 9u);
  const std::vector<std::string> head = {"RATIONAL METHOD HYDROGRAPH PROGRAM",
                                         "(C) 2026 ORVANE ENGINEERING COMPANY",
                                         "RUN DATE 12/7/2026",
                                         "HYDROGRAPH FILE NAME C:\\RUNS\\RUN1.HC1",
                                         "TIME OF CONCENTRATION 5 MIN.",
                                         "6 HOUR RAINFALL 2.5 INCHES",
                                         "BASIN AREA 100 ACRES",
                                         "RUNOFF COEFFICIENT .85",
                                         "PEAK DISCHARGE 250 CFS"};
  for (std::size_t i = 0; i < head.size(); ++i)
    EXPECT_EQ(Squeezed(lines[i]), head[i]);

  EXPECT_EQ(
      test::CheckDischargeColumn(test::PdfWords(dir / "report.pdf"), s.Result.OrdinateCount + 1),
      "");
}

// Saved as a PDF, the report keeps at least half an inch from every edge of its A4 pages.
TEST(QtPrinter, PdfReportKeepsHalfAnInchFromTheEdges) {
  if (!test::HaveCommand("pdftotext"))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ScratchDir dir;
  PrintPdf(Basin(5, true), dir / "report.pdf");
  const std::vector<test::PdfWord> words = test::PdfWords(dir / "report.pdf");
  ASSERT_GT(words.size(), 100u);
  for (const test::PdfWord& w : words) {
    EXPECT_GE(std::min(w.xMin, w.yMin), 36.0) << w.text;
    EXPECT_LE(w.xMax, 595.3 - 36.0) << w.text;
    EXPECT_LE(w.yMin, 841.9 - 36.0) << w.text;
  }
}

TEST(QtPrinter, PrintingTwiceGivesTheSameReport) {
  if (!test::HaveCommand("pdftotext"))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ScratchDir dir;
  const rh::Run s = Basin(10, false);
  PrintPdf(s, dir / "first.pdf");
  PrintPdf(s, dir / "second.pdf");
  const std::string first = test::PdfText(dir / "first.pdf");
  EXPECT_NE(first.find("TIME (MIN) =   250"), std::string::npos);
  EXPECT_EQ(first, test::PdfText(dir / "second.pdf"));
}

TEST(QtPrinter, CommaDecimalPointReachesThePage) {
  if (!test::HaveCommand("pdftotext"))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ScratchDir dir;
  PrintPdf(Basin(10, false), dir / "comma.pdf", ',');
  const std::string text = test::PdfText(dir / "comma.pdf");
  EXPECT_NE(Squeezed(text).find("6 HOUR RAINFALL 2,5 INCHES"), std::string::npos) << text;
  EXPECT_NE(Squeezed(text).find("RUNOFF COEFFICIENT ,85"), std::string::npos);
}

// The PDF of a report holds the whole report: every line, one page flowing onto the next, the
// discharges in one column.
TEST(QtPrinter, PdfBytesHoldTheWholeReport) {
  if (!test::HaveCommand("pdftotext"))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ScratchDir dir;
  const rh::Run s = Basin(5, true);
  PrintPdf(s, dir / "report.pdf");
  const std::string text = test::PdfText(dir / "report.pdf");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
  EXPECT_NE(Squeezed(text).find("BASIN AREA 100 ACRES"), std::string::npos);
  EXPECT_EQ(
      test::CheckDischargeColumn(test::PdfWords(dir / "report.pdf"), s.Result.OrdinateCount + 1),
      "");
}

}  // namespace
}  // namespace rh

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  rh::GuiSession gui;
  return RUN_ALL_TESTS();
}
