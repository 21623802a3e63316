#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/NumberChars.h"

namespace rh {
namespace {

// Values whose forms are easy to get wrong: ties between the fixed and scientific forms, whole
// numbers past 2^53, the neighbours of powers of two (closer doubles below than above),
// subnormals, the ends of the range and the specials.
const double kValues[] = {
    0.0,
    -0.0,
    1,
    0.1,
    0.1 + 0.2,
    2.5,
    0.85,
    12.7,
    -207.9,
    1e-5,
    1.5e-7,
    123456,
    1e4,
    1e15,
    1e16,
    1e21,
    1e22,
    1e23,
    9007199254740993.0,
    1152921504606846976.0,
    std::ldexp(1.0, 100),
    std::ldexp(1.0, -705),
    std::ldexp(1.0, -1017),
    std::nextafter(std::ldexp(1.0, -300), 0.0),
    std::nextafter(std::ldexp(1.0, 60), 1e300),
    5e-324,
    std::numeric_limits<double>::min(),
    std::numeric_limits<double>::max(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
};

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

}  // namespace
}  // namespace rh
