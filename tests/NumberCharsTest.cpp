#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "core/NumberChars.h"

namespace rh {
namespace {

// Values whose forms are easy to get wrong: ties between the fixed and scientific forms, whole
// numbers past 2^53, the neighbours of powers of two (closer doubles below than above),
// subnormals, the ends of the range, infinity and NaN.
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// clang-format off
const double kValues[] = {
    0.0, -0.0, 1, 0.1, 0.1 + 0.2, 2.5, 0.85, 12.7, -207.9, 1e-5, 1.5e-7, 123456, 1e4, 1e15, 1e16,
    1e21, 1e22, 1e23, 9007199254740993.0, 1152921504606846976.0, 0x1p100, 0x1p-705, 0x1p-1017,
    0x1.fffffffffffffp-301, 0x1.0000000000001p60, 5e-324, 0x1p-1022, 1.7976931348623157e308,
    -kInf, kNaN};
// clang-format on

std::string Text(char* first, std::to_chars_result result) {
  return result.ec == std::errc() ? std::string(first, result.ptr) : "(error)";
}

TEST(NumberChars, ShortestFormAgreesWithTheStandardLibrary) {
  for (const double value : kValues) {
    char expected[400], actual[400];
    EXPECT_EQ(Text(actual, numberchars::Shortest(actual, actual + sizeof actual, value)),
              Text(expected, std::to_chars(expected, expected + sizeof expected, value)));
  }
}

TEST(NumberChars, PrecisionFormsAgreeWithTheStandardLibrary) {
  const std::chars_format formats[] = {std::chars_format::fixed, std::chars_format::scientific,
                                       std::chars_format::general};
  for (const double value : kValues) {
    for (const std::chars_format format : formats) {
      for (const int precision : {0, 1, 2, 4, 15, 17}) {
        char expected[400], actual[400];
        EXPECT_EQ(Text(actual, numberchars::WithPrecision(actual, actual + sizeof actual, value,
                                                          format, precision)),
                  Text(expected, std::to_chars(expected, expected + sizeof expected, value, format,
                                               precision)))
            << value << " format " << static_cast<int>(format) << " precision " << precision;
      }
    }
  }
}

TEST(NumberChars, TooSmallABufferIsAnErrorAsInTheStandardLibrary) {
  char buffer[4];
  const auto shortest = numberchars::Shortest(buffer, buffer + sizeof buffer, 12345.5);
  const auto fixed = numberchars::WithPrecision(buffer, buffer + sizeof buffer, 1e300,
                                                std::chars_format::fixed, 2);
  for (const auto& result : {shortest, fixed}) {
    EXPECT_EQ(result.ec, std::errc::value_too_large);
    EXPECT_EQ(result.ptr, buffer + sizeof buffer);
  }
}

// The same bits, or both NaN with the same sign.
bool SameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b))
    return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
  std::uint64_t bitsA = 0, bitsB = 0;
  std::memcpy(&bitsA, &a, sizeof a);
  std::memcpy(&bitsB, &b, sizeof b);
  return bitsA == bitsB;
}

TEST(NumberChars, ReadingAgreesWithTheStandardLibrary) {
  // Where the number ends, what it is, and which values are out of range: subnormals are read,
  // a non-zero value that rounds to zero is not.
  // clang-format off
  const char* const texts[] = {
      "2.5", "-0.85", ".5", "5.", "1e5", "1E-7x", "1e", "1e+", "1.5e-3x", "0x10", "1d5", "0e99999",
      "1e-310", "4.9e-324", "2.4703282292062327e-324", "1.7976931348623159e308", "1e400", "-1e400",
      "inf", "-Infinity", "infinit", "nan", "-nan(abc)", "nan(", "", "-", ".", "+1", " 1", "e5"};
  // clang-format on
  const std::chars_format formats[] = {std::chars_format::general, std::chars_format::fixed,
                                       std::chars_format::scientific};
  for (const char* text : texts) {
    for (const std::chars_format format : formats) {
      const char* last = text + std::strlen(text);
      double expected = -7, actual = -7;
      const auto e = std::from_chars(text, last, expected, format);
      const auto a = numberchars::Read(text, last, actual, format);
      EXPECT_EQ(a.ptr - text, e.ptr - text) << text << " format " << static_cast<int>(format);
      EXPECT_EQ(a.ec, e.ec) << text << " format " << static_cast<int>(format);
      EXPECT_TRUE(SameDouble(actual, expected))
          << text << ": " << actual << " against " << expected;
    }
  }
}

}  // namespace
}  // namespace rh
