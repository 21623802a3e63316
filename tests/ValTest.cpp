#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "app/tables/Val.h"
#include "core/Faults.h"

namespace rh {
namespace {

TEST(Val, ReadsTheLeadingNumber) {
  struct {
    const char* text;
    double value;
  } cases[] = {
      {"12", 12},     {" 1 2.5 ", 12.5}, {"2.5in", 2.5}, {"abc", 0},       {"-3", -3},
      {"1E2", 100},   {"1e2", 100},      {"1D2", 100},   {"2.5d-1", 0.25}, {"1E+2", 100},
      {"1 E 2", 100}, {"\t7\n.6", 7.6},  {".85", 0.85},  {"-.5", -0.5},    {"+4", 4},
      {"4.49", 4.49}, {"1.2.3", 1.2},    {"1,000", 1},   {"", 0},          {"\t", 0},
      {".", 0},       {"-", 0},          {"1E", 1},      {"1E+", 1},       {"5x1E2", 5},
      {"1e-400", 0},  {"0.000e999", 0},  {"00012", 12},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Val, DecimalPointIsAlwaysAPoint) {
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // may not exist; the C locale checks the same thing
  EXPECT_DOUBLE_EQ(Val("2,5"), 2);
  EXPECT_DOUBLE_EQ(Val("2.5"), 2.5);
  std::setlocale(LC_ALL, "C");
}

TEST(Val, BeyondTheDoubleRangeIsAnOverflowFault) {
  for (const char* text : {"1e999", "-1E400", "0.5e400", "1D309"}) {
    EXPECT_THROW(Val(text), ArithmeticFault) << text;
  }
  EXPECT_THROW(Val(std::string(400, '9')), ArithmeticFault);
  EXPECT_DOUBLE_EQ(Val("0." + std::string(400, '0') + "1"), 0.0);
}

}  // namespace
}  // namespace rh
