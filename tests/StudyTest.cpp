// The study document: its text as laid out on the pages, and rendered to PDF and read back with
// poppler's tools.
#include <gtest/gtest.h>

#include <QLocale>
#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "app/run/StudyPdf.h"
#include "app/tables/PondFile.h"
#include "app/tables/PondJson.h"
#include "app/tables/RainfallTable.h"
#include "core/NumberForms.h"
#include "engine/Pond.h"
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

// The document's text, line by line: the texts of each page that share a baseline, left to
// right, one space between them.
std::vector<std::string> TextLines(const std::vector<Drawing>& pages) {
  std::vector<std::string> lines;
  for (const Drawing& page : pages) {
    std::map<double, std::vector<std::pair<double, std::string>>> rows;
    for (const Shape& shape : page.shapes) {
      if (const auto* t = std::get_if<TextShape>(&shape))
        rows[t->at.y].emplace_back(t->at.x, t->text);
    }
    for (auto& [y, texts] : rows) {
      std::sort(texts.begin(), texts.end());
      std::string line;
      for (const auto& text : texts)
        line += (line.empty() ? "" : " ") + text.second;
      lines.push_back(line);
    }
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + " ";
  return text;
}

// The sample basin routed through `pond`, as a study's one run.
Study RoutedStudy(const TablePond& pond, const test::BasinInputs& basin = {}) {
  rh::Run run = test::ComputedBasin(basin);
  run.Inputs.Pond = std::make_shared<const TablePond>(pond);
  run.Routing = std::make_shared<const PondRouting>(RoutePond(run, pond.Table, 1));
  return BasinStudy({run}, PageSize::Letter);
}

// The pond section says how the storage is made, for each form the pond may come in, and whether
// the barrel carries each outlet device.
TEST(StudyDocument, ThePondSectionShowsItsStorageAndOutlets) {
  const std::string example = test::ReadFile(RH_TEST_DATA_DIR "/example-pond.json");
  const char* const box = R"({"name": "Box",
    "storage": {"box": {"bottom_ft": 50, "length_ft": 600, "width_ft": 200, "side_slope": 3,
                        "depth_ft": 6}},
    "outlets": [{"type": "orifice", "name": "low", "shape": "circular", "diameter_in": 24,
                 "invert_ft": 50}]})";
  const char* const table = R"({"name": "Table",
    "storage": {"table": [[10, 0], [11, 2], [12, 5], [14, 16]]},
    "outlets": [{"type": "orifice", "name": "low", "shape": "circular", "diameter_in": 24,
                 "invert_ft": 10},
                {"type": "weir", "name": "side", "shape": "v-notch", "angle_deg": 90,
                 "crest_ft": 12, "barrel": false}],
    "barrel": {"diameter_in": 30, "length_ft": 80, "outlet_invert_ft": 9}})";
  // Each outlet's words end in whether the barrel carries it, before the next field.
  const struct {
    const char* name;
    TablePond pond;
    std::vector<std::string> shown;
    const char* absent;
  } cases[] = {
      {"contours",
       ReadPondJson(example, "ponds/example-pond.json"),
       {"Pond file example-pond.json", "Storage from its contours", "conic (frustum) volumes",
        "100.00 1.9", "104.00 2.5", "108.00 3", "through the barrel Outlet weir2",
        "through the barrel Outlet riser3", "through the barrel Outlet spillway4",
        "beside the barrel Barrel 36 in", "Top of embankment 108.00 ft"},
       "beside the barrel Outlet"},
      {"a box",
       ReadPondJson(box, "box.json"),
       {"Storage a box, bottom at 50.00 ft, 600 ft by 200 ft at the bottom, side slopes 3 "
        "horizontal to 1 vertical, 6 ft deep",
        "Outlet low circular orifice", "Top of embankment 56.00 ft"},
       "the barrel Top of embankment"},
      {"a storage table",
       ReadPondJson(table, "table.json"),
       {"Storage from its table", "10.00 0.0000", "11.00 2.0000", "14.00 16.0000",
        "through the barrel Outlet side", "beside the barrel Barrel 30 in diameter, 1 pipe"},
       "through the barrel Barrel"},
      {"a CSV table",
       ReadPondTable(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv"), "example-pond.csv"),
       {"Storage and outflow the table's rows", "Rating, the table's rows",
        "Top of embankment 7.00 ft"},
       "Outlet "},
  };
  for (const auto& c : cases) {
    const Study study = RoutedStudy(c.pond);
    const std::string text = Joined(TextLines(StudyPages(study, PageSize::Letter)));
    for (const std::string& part : c.shown)
      EXPECT_NE(text.find(part), std::string::npos) << c.name << ": " << part;
    EXPECT_EQ(text.find(c.absent), std::string::npos) << c.name << ": " << c.absent;
  }
}

// The routing table has a row at the steps a reviewer looks for, each named once in its note:
// the peak outflow, the maximum storage, the start and the end of overtopping; its last row is
// the end of routing, when the pond has drawn down.
TEST(StudyDocument, TheRoutingTableNamesItsSteps) {
  const TablePond example =
      ReadPondTable(test::ReadFile(RH_TEST_DATA_DIR "/example-pond.csv"), "example-pond.csv");
  const TablePond small{PondTable({{0, 0, 0}, {1, 4, 10}, {2, 8, 40}}), "small.csv", "", nullptr};
  const struct {
    const char* name;
    TablePond pond;
    test::BasinInputs basin;
  } cases[] = {
      {"the example pond", example, {}},
      {"the example pond on a wetter storm", example, {10, 3.5, 100, .85, 350}},
      {"a pond that overtops", example, {10, 4.5, 100, .85, 450}},
      {"a small pond that overtops", small, {15, 2.5, 100, .85, 250}},
  };
  for (const auto& c : cases) {
    const Study study = RoutedStudy(c.pond, c.basin);
    const PondRouting& p = *study.Runs.front().Run.Routing;
    const std::vector<std::string> lines = TextLines(StudyPages(study, PageSize::Letter));
    // The routing table's rows: a time, four figures and perhaps a note.
    const std::regex row("([0-9]+) [0-9.]+ [0-9.]+ [0-9.]+ [0-9]+\\.[0-9]{3}( (.*))?");
    std::vector<std::pair<double, std::string>> rows;
    for (const std::string& line : lines) {
      std::smatch m;
      if (std::regex_match(line, m, row))
        rows.emplace_back(std::stod(m[1]), m[3]);
    }
    ASSERT_FALSE(rows.empty()) << c.name;
    std::vector<std::pair<double, std::string>> marks = {{p.PeakOutflowMinutes, "peak outflow"},
                                                         {p.MaxStorageMinutes, "max storage"}};
    ASSERT_EQ(p.Overtopped, std::string(c.name).find("overtops") != std::string::npos) << c.name;
    if (p.Overtopped) {
      marks.emplace_back(p.OverflowStartMinutes, "overtopping starts");
      marks.emplace_back(p.OverflowEndMinutes, "overtopping ends");
    }
    for (const auto& [minutes, mark] : marks) {
      std::vector<double> named;  // the times of the rows whose note names the mark
      for (const auto& [time, note] : rows) {
        if ((", " + note + ",").find(", " + mark + ",") != std::string::npos)
          named.push_back(time);
      }
      EXPECT_EQ(named, std::vector<double>{minutes}) << c.name << ": " << mark;
    }
    for (std::size_t i = 1; i < rows.size(); ++i)
      EXPECT_LT(rows[i - 1].first, rows[i].first) << c.name;
    EXPECT_EQ(rows.back().first, p.EndMinutes) << c.name;
    ASSERT_TRUE(p.DrainMinutes) << c.name;
    const std::string text = Joined(lines);
    EXPECT_NE(text.find("Routing ends at " + PlainNumber(p.EndMinutes) +
                        " min, when the pond has drawn down, " + DrawdownText(p)),
              std::string::npos)
        << c.name;
    EXPECT_EQ(text.find("OVERTOPPED") != std::string::npos, p.Overtopped) << c.name;
  }
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
