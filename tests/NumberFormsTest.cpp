#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/Faults.h"
#include "core/NumberForms.h"
#include "engine/Checked.h"
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

// Ties at several scales go up, toward positive infinity, negatives included; the checked step
// gives the same number. Past 2^52 at the scale a value has no fraction: the figures keep it, the
// hydrograph's steps add 0.5 all the same.
TEST(RoundedHalfUp, TiesGoUp) {
  constexpr double k2p52 = 4503599627370496.0;
  struct {
    double value;
    double scale;
    double kept;
    double computed;
  } cases[] = {
      {2.5, 1, 3, 3},
      {-2.5, 1, -2, -2},
      {0.5, 1, 1, 1},
      {-0.5, 1, 0, 0},
      {0.25, 10, 0.3, 0.3},
      {-0.25, 10, -0.2, -0.2},
      {0.24, 10, 0.2, 0.2},
      {0.125, 100, 0.13, 0.13},
      {-0.125, 100, -0.12, -0.12},
      {0.0625, 1000, 0.063, 0.063},
      {-0.0625, 1000, -0.062, -0.062},
      {0.03125, 10000, 0.0313, 0.0313},
      {-0.03125, 10000, -0.0312, -0.0312},
      {k2p52 + 1, 1, k2p52 + 1, k2p52 + 2},
      {-(k2p52 + 1), 1, -(k2p52 + 1), -k2p52},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundedHalfUp(c.value, c.scale), c.kept) << c.value << " at " << c.scale;
    EXPECT_EQ(RoundedHalfUp(c.value, c.scale, WholeAtScale::Computed), c.computed)
        << c.value << " at " << c.scale;
    EXPECT_EQ(checked::RoundHalfUp(c.value, c.scale), c.computed) << c.value << " at " << c.scale;
  }
  EXPECT_TRUE(std::isnan(RoundedHalfUp(std::nan(""), 10)));
  EXPECT_EQ(RoundedHalfUp(-std::numeric_limits<double>::infinity(), 10),
            -std::numeric_limits<double>::infinity());
  // The checked step faults as its multiplication would.
  try {
    checked::RoundHalfUp(std::nan(""), 10);
    ADD_FAILURE() << "no fault for NaN";
  } catch (const ArithmeticFault& fault) {
    EXPECT_STREQ(fault.what(), messages::kInvalidOperationText);
  }
  try {
    checked::RoundHalfUp(1e308, 10);
    ADD_FAILURE() << "no fault for an overflow";
  } catch (const ArithmeticFault& fault) {
    EXPECT_STREQ(fault.what(), messages::kOverflowText);
  }
}

TEST(Decimals, RoundHalfUpThenFixed) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {{0.125, 2, "0.13"},  {-0.125, 2, "-0.12"}, {2.5, 0, "3"},
               {-0.004, 2, "0.00"}, {1e15, 2, "1E+15"},   {12.3456, 1, "12.3"}};
  for (const auto& c : cases)
    EXPECT_EQ(Decimals(c.value, c.decimals), c.text) << c.value;
}

// A change in per cent has one form for zero: no sign on what shows as 0.0.
TEST(SignedPercent, HasOneZero) {
  const std::pair<double, const char*> cases[] = {{1.26, "+1.3"}, {-30.2, "-30.2"}, {0.04, "0.0"},
                                                  {-0.04, "0.0"}, {0, "0.0"},       {0.05, "+0.1"}};
  for (const auto& [percent, shown] : cases)
    EXPECT_EQ(SignedPercent(percent), shown) << percent;
}

}  // namespace
}  // namespace rh
