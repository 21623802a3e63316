#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "output/TextForms.h"

namespace rh {
namespace {

TEST(PrintItem, NumbersGetATrailingSpaceStringsStayBare) {
  struct {
    const char* name;
    PrintValue item;
    char point;
    const char* text;
  } cases[] = {
      {"whole", 15.0, '.', " 15 "},
      {"tenths", 12.3, '.', " 12.3 "},
      {"negative", -2.5, '.', "-2.5 "},
      {"below one", 0.85, '.', " .85 "},
      {"comma decimal", 0.85, ',', " ,85 "},
      {"integer", std::int16_t{1155}, '.', " 1155 "},
      {"integer zero", std::int16_t{0}, '.', " 0 "},
      {"negative integer", std::int16_t{-200}, '.', "-200 "},
      {"lowest integer", std::int16_t{-32768}, '.', "-32768 "},
      {"string", std::string("KK "), '.', "KK "},
      {"date", DateItem{"12/7/2026"}, '.', "12/7/2026"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PrintItem(c.item, c.point), c.text) << c.name;
}

std::string Print(const std::vector<PrintPart>& parts) {
  TextPrintTarget target;
  PrintStatement(target, parts);
  return target.Text();
}

TEST(PrintStatement, ItemEndings) {
  EXPECT_EQ(Print({{1.2, Ending::Join}, {3.4}}), " 1.2  3.4 \r\n");
  EXPECT_EQ(Print({{"BA", Ending::Join}, {0.0156}}), "BA .0156 \r\n");
  EXPECT_EQ(Print({{"QI", Ending::Join}}), "QI");
  EXPECT_EQ(Print({}), "\r\n");
  // "," moves to the next 14-column zone: the discharge item starts at column 28.
  const std::string line = Print({{"TIME (MIN) = ", Ending::Join},
                                  {10.0, Ending::NextZone},
                                  {" DISCHARGE (CFS) = ", Ending::Join},
                                  {12.7}});
  EXPECT_EQ(line, "TIME (MIN) =  10 " + std::string(11, ' ') + " DISCHARGE (CFS) =  12.7 \r\n");
  EXPECT_EQ(line.find(" DISCHARGE"), 28u);
  // An item that ends exactly on a zone start moves on to the following zone.
  EXPECT_EQ(Print({{"12345678901234", Ending::NextZone}, {"x"}}),
            "12345678901234              x\r\n");
}

TEST(PrintStatement, ZonesCountCharactersNotBytes) {
  EXPECT_EQ(Print({{"\xC3\xA9t\xC3\xA9", Ending::NextZone}, {"x"}}),
            "\xC3\xA9t\xC3\xA9           x\r\n");
}

TEST(PrintStatement, OpenLineContinues) {
  TextPrintTarget target;
  PrintStatement(target, {{"IN", Ending::Join}});
  PrintStatement(target, {{15.0, Ending::Join}, {"01JAN90 ", Ending::Join}, {std::int16_t{1153}}});
  EXPECT_EQ(target.Text(), "IN 15 01JAN90  1153 \r\n");
}

}  // namespace
}  // namespace rh
