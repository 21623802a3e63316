// The plain PDF writer, read back as poppler reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/PdfWriter.h"

namespace rh {
namespace {

TEST(PdfWriter, DatesAreUtcSeconds) {
  struct {
    std::int64_t seconds;
    const char* date;
  } cases[] = {{0, "D:19700101000000Z"},
               {946684799, "D:19991231235959Z"},
               {951825659, "D:20000229120059Z"},
               {1796772320, "D:20261208232520Z"},
               {-1, "D:19691231235959Z"}};
  for (const auto& c : cases)
    EXPECT_EQ(PdfDate(c.seconds), c.date) << c.seconds;
}

// A page with one of every shape, and texts in every face, alignment and a turn.
Drawing EveryShape(const std::string& words) {
  Drawing page;
  page.width = 612;
  page.height = 792;
  page.title = "Study – Nörth Fork";
  page.shapes = {
      LineShape{{72, 72}, {540, 72}, {0, 0, 255}, 0.5},
      PolylineShape{{{72, 700}, {300, 400.125}, {540, 700}}, {200, 0, 0}, 1.25},
      RectShape{72, 100, 200, 50, {230, 230, 230}, true, {0, 0, 0}, 1},
      CircleShape{{306, 396}, 3, {0, 128, 0}},
      TextShape{{72, 200}, words, 12, false, TextAlign::Left, 0, {}, TextFace::Sans},
      TextShape{
          {540, 240}, "Right (end) 12.50 cfs", 10, true, TextAlign::Right, 0, {}, TextFace::Sans},
      TextShape{
          {306, 280}, "Centred 0.0001 ac-ft", 9, false, TextAlign::Centre, 0, {}, TextFace::Mono},
      TextShape{{40, 500}, "Discharge", 9, true, TextAlign::Centre, 90, {}, TextFace::Sans}};
  return page;
}

TEST(PdfWriter, CrossReferencesPointAtTheirObjects) {
  const std::vector<std::vector<Drawing>> documents = {
      {}, {EveryShape("one")}, {EveryShape("one"), EveryShape("two"), EveryShape("three")}};
  for (const std::vector<Drawing>& pages : documents) {
    const std::string pdf = DrawingsPdf(pages, 1796772320);
    EXPECT_EQ(pdf, DrawingsPdf(pages, 1796772320)) << "the same pages, the same bytes";
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex("startxref\n([0-9]+)\n%%EOF\n$")));
    const std::size_t xref = std::stoul(m[1]);
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    ASSERT_TRUE(std::regex_search(pdf.cbegin() + static_cast<long>(xref), pdf.cend(), m,
                                  std::regex("^xref\n0 ([0-9]+)\n")));
    const std::size_t count = std::stoul(m[1]);
    EXPECT_EQ(count, 8 + 2 * pages.size());
    for (std::size_t n = 1; n < count; ++n) {
      const std::size_t entry = xref + m.length(0) + 20 * n;
      const std::size_t offset = std::stoul(pdf.substr(entry, 10));
      const std::string head = std::to_string(n) + " 0 obj\n";
      EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << n;
    }
    // Each stream is as long as its /Length says.
    const std::regex stream("/Length ([0-9]+) >>\nstream\n");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), stream);
         it != std::sregex_iterator(); ++it) {
      const std::size_t end =
          static_cast<std::size_t>(it->position(0) + it->length(0)) + std::stoul((*it)[1]);
      EXPECT_EQ(pdf.compare(end, 10, "endstream\n"), 0);
    }
  }
}

// pdftotext gives the texts back, in the places the layout measured for them.
TEST(PdfWriter, TextsComeBackWhereTheyWereMeasured) {
  if (!test::HaveCommand("pdftotext") || !test::HaveCommand("pdfinfo"))
    GTEST_SKIP() << "poppler-utils is not installed";
  test::ScratchDir dir;
  const std::string words = "Peak 250.25 cfs ± 0.5 % at 10° – Nörth (Fork) \\ “A” …";
  std::ofstream(dir / "t.pdf", std::ios::binary)
      << DrawingsPdf({EveryShape(words), EveryShape("Page two")}, 1796772320);
  const std::string text = test::PdfText(dir / "t.pdf");
  for (const std::string& part : {words, std::string("Right (end) 12.50 cfs"),
                                  std::string("Centred 0.0001 ac-ft"), std::string("Page two")})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  EXPECT_NE(text.find("Discharge"), std::string::npos) << "the turned text";
  const std::string info = test::RunCommand("pdfinfo " + dir / "t.pdf").out;
  for (const char* part :
       {"Study – Nörth Fork", "Pages: +2", "612 x 792 pts \\(letter\\)",
        "CreationDate: +Tue Dec  8 23:25:20 2026 UTC", "ModDate: +Tue Dec  8 23:25:20 2026 UTC"})
    EXPECT_TRUE(std::regex_search(info, std::regex(part))) << part << "\n" << info;

  struct {
    const char* word;
    double left, right;  // where the layout put it; poppler measures the same faces
  } placed[] = {{"Peak", 72, 72 + TextWidth("Peak", 12, false, TextFace::Sans)},
                {"12.50", 540 - TextWidth("12.50 cfs", 10, true, TextFace::Sans),
                 540 - TextWidth(" cfs", 10, true, TextFace::Sans)},
                {"Centred", 306 - TextWidth("Centred 0.0001 ac-ft", 9, false, TextFace::Mono) / 2,
                 306 - TextWidth("Centred 0.0001 ac-ft", 9, false, TextFace::Mono) / 2 +
                     TextWidth("Centred", 9, false, TextFace::Mono)}};
  const std::vector<test::PdfWord> found = test::PdfWords(dir / "t.pdf");
  for (const auto& p : placed) {
    bool seen = false;
    for (const test::PdfWord& w : found) {
      if (w.page != 1 || w.text != p.word)
        continue;
      seen = true;
      EXPECT_NEAR(w.xMin, p.left, 0.05) << p.word;
      EXPECT_NEAR(w.xMax, p.right, 0.05) << p.word;
    }
    EXPECT_TRUE(seen) << p.word;
  }
}

}  // namespace
}  // namespace rh
