#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "output/TextForms.h"

namespace rh {
namespace {

TEST(StrForm, SignPositionThenGeneralDigits) {
  struct {
    double value;
    const char* text;
  } cases[] = {
      {15, " 15"},
      {2.5, " 2.5"},
      {0.85, " .85"},
      {-1.25, "-1.25"},
      {0, " 0"},
      {-0.0, " 0"},
      {-0.1, "-.1"},
      {207.9, " 207.9"},
      {12.7, " 12.7"},
      {0.15625, " .15625"},
      {1234567, " 1234567"},
      {0.1 + 0.2, " .3"},
      {2.0 / 3.0, " .666666666666667"},
      {123456789012345.0, " 123456789012345"},
      {1e20, " 1E+20"},
      {-2.5e-7, "-2.5E-07"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StrForm(c.value), c.text) << c.value;
}

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

TEST(PlainNumber, DataFileForm) {
  EXPECT_EQ(PlainNumber(0.85), "0.85");
  EXPECT_EQ(PlainNumber(-0.1), "-0.1");
  EXPECT_EQ(PlainNumber(12), "12");
  EXPECT_EQ(PlainNumber(0), "0");
}

// The number forms as they were built before the appending forms, kept as the reference.
namespace reference {

std::string Digits(double magnitude) {
  char buffer[64];
  char* end;
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(magnitude)).ptr;
  } else {
    end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::general, 15)
              .ptr;
  }
  std::string text(buffer, end);
  for (char& c : text) {
    if (c == 'e')
      c = 'E';
  }
  if (text.size() > 1 && text[0] == '0' && text[1] == '.')
    text.erase(0, 1);
  return text;
}

std::string StrForm(double value) {
  if (value == 0.0 || std::isnan(value))
    return " 0";
  return (value < 0 ? "-" : " ") + Digits(std::fabs(value));
}

std::string PrintForm(double value, char point) {
  std::string text = StrForm(value) + " ";
  for (char& c : text) {
    if (c == '.')
      c = point;
  }
  return text;
}

std::string PlainNumber(double value) {
  if (value == 0.0 || std::isnan(value))
    return "0";
  std::string digits = Digits(std::fabs(value));
  if (digits[0] == '.')
    digits.insert(0, "0");
  return (value < 0 ? "-" : "") + digits;
}

}  // namespace reference

// Values of every kind the forms treat apart, each also negated.
std::vector<double> SweepValues() {
  using Limits = std::numeric_limits<double>;
  std::vector<double> values = {0.0,
                                -0.0,
                                Limits::quiet_NaN(),
                                Limits::infinity(),
                                Limits::denorm_min(),
                                Limits::min(),
                                Limits::max(),
                                Limits::epsilon(),
                                1e15 - 1,
                                1e15,
                                1e15 + 1,
                                1e14 - 0.1,
                                1e14 + 0.1,
                                0.099999999999999992,
                                999999999999999.9};
  for (int k = -324; k <= 308; ++k)
    values.push_back(std::pow(10.0, k));
  for (int n = 0; n < 20000; ++n) {
    values.push_back(n);         // whole numbers
    values.push_back(n / 10.0);  // tenths, as the engine rounds discharges
    values.push_back(n * 0.1);   // tenths that miss the nearest double
    values.push_back(n / 100.0 + 1e9);
  }
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-20, 300);
  for (int n = 0; n < 100000; ++n) {
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    // Any bit pattern: denormals, NaNs with payloads, infinities.
    const std::uint64_t bits = random();
    double any = 0;
    std::memcpy(&any, &bits, sizeof any);
    values.push_back(any);
  }
  const std::size_t count = values.size();
  for (std::size_t i = 0; i < count; ++i)
    values.push_back(-values[i]);
  return values;
}

TEST(AppendForms, SameBytesAsTheStringFormsBefore) {
  std::string out;
  int mismatches = 0;
  for (const double value : SweepValues()) {
    const std::string expected = reference::StrForm(value) + reference::PrintForm(value, '.') +
                                 reference::PrintForm(value, ',') + reference::PlainNumber(value);
    out = "x";  // appending keeps what the buffer holds
    AppendStrForm(out, value);
    AppendPrintForm(out, value, '.');
    AppendPrintForm(out, value, ',');
    AppendPlainNumber(out, value);
    const std::string strings =
        StrForm(value) + PrintItem(value) + PrintItem(value, ',') + PlainNumber(value);
    if ((out != "x" + expected || strings != expected) && ++mismatches <= 10)
      ADD_FAILURE() << std::hexfloat << value << ": \"" << out << "\", \"" << strings
                    << "\" instead of \"" << expected << '"';
  }
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
