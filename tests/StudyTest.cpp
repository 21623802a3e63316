// The study document rendered to PDF and read back with poppler's tools.
#include <gtest/gtest.h>

#include <QLocale>
#include <regex>
#include <string>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "app/run/StudyPdf.h"
#include "app/tables/RainfallTable.h"
#include "engine/Pond.h"
#include "output/TextForms.h"
#include "platform/qt/PagesPdf.h"
#include "platform/qt/QtOutputDevices.h"

namespace rh {
namespace {

using test::ScratchDir;

bool HavePoppler() {
  return test::HaveCommand("pdftotext") && test::HaveCommand("pdfinfo") &&
         test::HaveCommand("pdfimages") && test::HaveCommand("pdffonts");
}

Study BasinStudy(std::vector<Run> runs, PageSize paper) {
  Study study;
  study.Project = {"North Fork Detention", "Basin 7", "A. Engineer",
                   "Sized for the 100-year storm.", "PE 12345"};
  study.Date = "12/7/2026";
  study.Paper = paper;
  for (Run& run : runs)
    study.Runs.push_back(MakeStudyRun(std::move(run)));
  return study;
}

// The study written as `name` in `dir`; its text, page by page.
std::vector<std::string> WritePdf(const Study& study, const ScratchDir& dir,
                                  const std::string& name) {
  test::FixedClock clock;
  std::ofstream(dir / name, std::ios::binary) << StudyPdfBytes(study, clock);
  std::vector<std::string> pages(1);
  for (const char c : test::PdfText(dir / name)) {
    if (c == '\f')
      pages.emplace_back();
    else
      pages.back() += c;
  }
  pages.pop_back();  // after the last form feed
  return pages;
}

// A routing by hand: the outflow a step behind half the inflow, the storage what is held back.
std::shared_ptr<const PondRouting> HandRouting(const Run& run) {
  auto p = std::make_shared<PondRouting>();
  const double tc = run.Inputs.TimeOfConcentration;
  p->StepMinutes = static_cast<long>(tc);
  double stored = 0;
  for (long k = 0; k <= run.Result.OrdinateCount; ++k) {
    const double in = run.Result.Hydrograph(k);
    const double out = k > 0 ? run.Result.Hydrograph(k - 1) / 2 : 0;
    stored += (in - out) * tc * 60 / kCubicFeetPerAcreFoot;
    p->States.push_back({tc * static_cast<double>(k), in, out, stored, 100 + stored});
  }
  p->PeakOutflowCfs = 125;
  p->EndMinutes = p->States.back().Minutes;
  return p;
}

// Lines of a page that hold a time and `columns` - 1 decimal figures, and perhaps a note in words:
// a table's rows.
std::vector<std::string> Rows(const std::string& page, int columns) {
  const std::regex row("^ *[0-9]+( +[0-9]+\\.[0-9]+){" + std::to_string(columns - 1) +
                       "}( +[a-z][a-z ,]*)? *$");
  std::vector<std::string> rows;
  for (const std::string& line : test::SplitLines(page)) {
    if (std::regex_match(line, row))
      rows.push_back(
          std::regex_replace(line.substr(line.find_first_not_of(' ')), std::regex(" +"), " "));
  }
  return rows;
}

TEST(StudyPdf, EveryPageHasTheHeaderAndItsNumberAndTheChartIsVector) {
  if (!HavePoppler())
    GTEST_SKIP() << "poppler-utils is not installed";
  struct {
    PageSize paper;
    const char* size;
  } cases[] = {{PageSize::Letter, "612 x 792 pts (letter)"},
               {PageSize::A4, "595.276 x 841.89 pts (A4)"}};
  for (const auto& c : cases) {
    ScratchDir dir;
    const std::vector<std::string> pages =
        WritePdf(BasinStudy({test::ComputedBasin({5, 2.5, 100, .85, 250, true})}, c.paper), dir,
                 "study.pdf");
    const std::string info = test::RunCommand("pdfinfo " + dir / "study.pdf").out;
    EXPECT_NE(info.find(c.size), std::string::npos) << info;
    ASSERT_GE(pages.size(), 2u) << c.size;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const std::string n = "Page " + std::to_string(i + 1) + " of " + std::to_string(pages.size());
      for (const std::string& text :
           {std::string("Project: North Fork Detention"), std::string("Basin: Basin 7"),
            std::string("Engineer: A. Engineer"), std::string("Date: December 7, 2026"), n})
        EXPECT_NE(pages[i].find(text), std::string::npos) << c.size << " page " << i + 1 << text;
    }
    // The chart's own words are text, and nothing on any page is a picture.
    EXPECT_NE(test::PdfText(dir / "study.pdf").find("Design-storm hydrograph: Tc 5 min"),
              std::string::npos);
    const auto images =
        test::SplitLines(test::RunCommand("pdfimages -list " + dir / "study.pdf").out);
    EXPECT_EQ(images.size(), 2u) << "only the list's heading";
    // Every text is in a standard face that readers have, so none is embedded.
    const auto fonts = test::SplitLines(test::RunCommand("pdffonts " + dir / "study.pdf").out);
    ASSERT_GE(fonts.size(), 3u);
    for (std::size_t i = 2; i < fonts.size(); ++i) {
      std::vector<std::string> words;
      std::istringstream in(fonts[i]);
      for (std::string w; in >> w;)
        words.push_back(w);
      ASSERT_GE(words.size(), 5u);
      EXPECT_TRUE(std::regex_match(words[0], std::regex("Helvetica(-Bold)?|Courier(-Bold)?")))
          << fonts[i];
      EXPECT_EQ(words[words.size() - 5], "no") << "embedded: " << fonts[i];
    }
  }
}

// Every ordinate is a whole row of the table, in order, though the table fills more than a page.
TEST(StudyPdf, TheTableFlowsOntoFurtherPagesWithoutCuttingARow) {
  if (!HavePoppler())
    GTEST_SKIP() << "poppler-utils is not installed";
  ScratchDir dir;
  const rh::Run run = test::ComputedBasin({5, 2.5, 100, .85, 250.25, true});
  const std::vector<std::string> pages = WritePdf(BasinStudy({run}, PageSize::A4), dir, "s.pdf");
  std::vector<std::string> rows;
  int pagesWithRows = 0;
  for (const std::string& page : pages) {
    const std::vector<std::string> here = Rows(page, 2);
    if (!here.empty()) {
      ++pagesWithRows;
      EXPECT_NE(page.find("Discharge"), std::string::npos) << "the heads repeat on every page";
    }
    rows.insert(rows.end(), here.begin(), here.end());
  }
  EXPECT_GE(pagesWithRows, 2);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(run.Result.OrdinateCount + 1));
  EXPECT_EQ(rows[0], "0 0.00");
  EXPECT_EQ(rows[run.Result.PeakIndex], std::to_string(5 * run.Result.PeakIndex) + " 250.25");
  EXPECT_EQ(rows.back(), std::to_string(5 * run.Result.OrdinateCount) + " 0.00");
}

TEST(StudyPdf, SeveralReturnPeriodsWithAPond) {
  if (!HavePoppler())
    GTEST_SKIP() << "poppler-utils is not installed";
  test::MemoryFileSystem files;
  files.files["atlas.csv"] = test::ReadFile(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");
  std::vector<rh::Run> runs;
  for (const char* ari : {"2", "100"}) {
    RunInputs in = test::MakeBasin({10, 0, 100, .85, 250});
    in.Rainfall = LoadRainfall(files, "atlas.csv", "atlas.csv", ari);
    in.SixHourRainfall = in.Rainfall->Table.Depth(360);
    runs.push_back(test::ComputeRun(in));
    runs.back().Routing = HandRouting(runs.back());
  }
  ScratchDir dir;
  std::string text;
  for (const std::string& page : WritePdf(BasinStudy(runs, PageSize::Letter), dir, "s.pdf"))
    text += page;
  for (const char* part :
       {"Latitude: 26.6 Degree", "Return periods", "2, 100 years",
        "Hydrograph and pond routing, 2-year storm", "Hydrograph and pond routing, 100-year storm"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  // A summary row per return period, and a row of five columns at every ordinate of each.
  for (const rh::Run& run : runs) {
    const std::string row =
        run.Inputs.Rainfall->Ari + "-year +" +
        std::regex_replace(PlainNumber(run.Inputs.SixHourRainfall), std::regex("\\."), "\\.") + " ";
    EXPECT_TRUE(std::regex_search(text, std::regex(row))) << row;
  }
  EXPECT_EQ(Rows(text, 5).size(), static_cast<std::size_t>(runs[0].Result.OrdinateCount +
                                                           runs[1].Result.OrdinateCount + 2));
}

// Long names, notes and file names wrap or are cut: no word reaches into the margins.
TEST(StudyPdf, LongTextsStayInsideTheMargins) {
  if (!HavePoppler())
    GTEST_SKIP() << "poppler-utils is not installed";
  test::MemoryFileSystem files;
  const std::string table = std::string(150, 'T') + ".csv";
  files.files[table] = test::ReadFile(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");
  RunInputs in = test::MakeBasin({10, 0, 100, .85, 250});
  in.Rainfall = LoadRainfall(files, table, table, "100");
  in.SixHourRainfall = 7.75;
  Study study = BasinStudy({test::ComputeRun(in)}, PageSize::A4);
  study.Project.ProjectName = std::string(120, 'W');
  study.Project.Engineer = "Engineers " + std::string(100, 'M');
  for (int i = 0; i < 60; ++i)
    study.Project.Notes += "Wide words WWWWWW MMMMMM fill the notes line after line. ";
  study.Project.Notes += "\n" + std::string(300, 'W');
  ScratchDir dir;
  WritePdf(study, dir, "long.pdf");
  const std::vector<test::PdfWord> words = test::PdfWords(dir / "long.pdf");
  ASSERT_GT(words.size(), 100u);
  const double width = PointsOf(PageSize::A4).width;
  for (const test::PdfWord& w : words) {
    EXPECT_GE(w.xMin, kStudyMarginPoints - 0.5) << w.text;
    EXPECT_LE(w.xMax, width - kStudyMarginPoints + 0.5) << w.text;
  }
}

// A header field is cut to its longest part that fits, whatever follows it: a name pasted a
// megabyte long heads the pages as one just too long does.
TEST(StudyPdf, AHugeProjectNameIsCutAsAShortOverlongOne) {
  const auto projectLine = [](const std::string& name) {
    Study study = BasinStudy({test::ComputedBasin({})}, PageSize::A4);
    study.Project.ProjectName = name;
    const std::vector<Drawing> pages = StudyPages(study, PageSize::A4);
    for (const Shape& shape : pages.front().shapes) {
      const auto* text = std::get_if<TextShape>(&shape);
      if (text != nullptr && text->text.rfind("Project: ", 0) == 0)
        return text->text;
    }
    return std::string();
  };
  std::string name;
  for (int i = 0; i < 30; ++i)
    name += "Nörth Förk ";
  const std::string cut = projectLine(name);
  ASSERT_GT(cut.size(), 40u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_EQ(name.rfind(cut.substr(9, cut.size() - 12), 0), 0u) << cut;
  EXPECT_EQ(projectLine(name + std::string(std::size_t{1} << 20, 'W')), cut);
}

TEST(StudyPdf, PaperFollowsTheTerritory) {
  struct {
    const char* locale;
    PageSize paper;
  } cases[] = {{"en_US", PageSize::Letter}, {"fr_CA", PageSize::Letter},
               {"es_MX", PageSize::Letter}, {"en_GB", PageSize::A4},
               {"de_DE", PageSize::A4},     {"C", PageSize::A4}};
  for (const auto& c : cases)
    EXPECT_EQ(qt::PageSizeOf(QLocale(QString::fromLatin1(c.locale))), c.paper) << c.locale;
}

}  // namespace
}  // namespace rh
