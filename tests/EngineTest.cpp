#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Basins.h"
#include "core/Faults.h"
#include "engine/Checked.h"
#include "engine/Hydrograph.h"

namespace rh {
namespace {

RunInputs Basin(double tc, double p6, double area, double coef, double peak, bool hec1 = false) {
  return test::MakeBasin({tc, p6, area, coef, peak, hec1});
}

// Layout figures for a range of times of concentration, with the switch off and on.
struct LayoutCase {
  const char* name;
  double tc;
  bool hec1;
  int blocks;  // N
  int peakIndex;
  int ordinateCount;
};

class LayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, PeakAndLastOrdinate) {
  const LayoutCase& c = GetParam();
  const RunResult s = test::Computed(Basin(c.tc, 2.5, 100, 0.85, 250, c.hec1));
  EXPECT_EQ(s.PeakIndex, c.peakIndex);
  EXPECT_EQ(s.OrdinateCount, c.ordinateCount);
  EXPECT_EQ(s.Hydrograph(s.PeakIndex), 250.0) << "the peak survives";
  EXPECT_EQ(s.Hydrograph(0), 0.0);
  // The tail is zero: one ordinate, or ten with the HEC-1 switch on.
  const int tail = c.hec1 ? 10 : 1;
  for (int i = s.OrdinateCount - tail + 1; i <= s.OrdinateCount; ++i) {
    EXPECT_EQ(s.Hydrograph(i), 0.0) << "tail ordinate " << i;
  }
  EXPECT_NE(s.Hydrograph(s.OrdinateCount - tail), 0.0) << "the tail follows the last block";
  // Every block 1..N appears exactly once among the reported ordinates.
  std::vector<double> reported;
  for (int i = 0; i <= s.OrdinateCount; ++i) {
    if (s.Hydrograph(i) != 0.0)
      reported.push_back(s.Hydrograph(i));
  }
  EXPECT_EQ(static_cast<int>(reported.size()), c.blocks);
}

INSTANTIATE_TEST_SUITE_P(
    TimesOfConcentration, LayoutTest,
    testing::Values(LayoutCase{"Tc5", 5, false, 72, 49, 73},
                    LayoutCase{"Tc5Hec1", 5, true, 72, 49, 82},
                    LayoutCase{"Tc10", 10, false, 36, 25, 37},
                    LayoutCase{"Tc15", 15, false, 24, 17, 25},
                    LayoutCase{"Tc240", 240, false, 2, 2, 3},
                    // N = 40, 28, 19 leave a remainder of 1: the last block is kept on N + 1.
                    LayoutCase{"Tc9KeepsLastBlock", 9, false, 40, 28, 42},
                    LayoutCase{"Tc13KeepsLastBlock", 13, false, 28, 20, 30},
                    LayoutCase{"Tc19KeepsLastBlock", 19, true, 19, 14, 30},
                    // N = 1 and N = 0: the peak is kept and the tail follows it.
                    LayoutCase{"Tc300KeepsPeak", 300, false, 1, 2, 3},
                    LayoutCase{"Tc800KeepsPeak", 800, false, 1, 1, 2}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(Engine, WorkedFiguresForTc10) {
  const RunResult s = test::Computed(Basin(10, 2.5, 100, 0.85, 250));
  EXPECT_EQ(s.OrdinateCount, 37);
  EXPECT_NEAR(s.Intensity(1), 250.0 / 85.0, 1e-12);
  EXPECT_NEAR(s.Intensity(2), 2.6937, 5e-5);
  EXPECT_NEAR(s.RainIncrement(2), 0.4077, 5e-5);
  const double blocks[] = {207.9, 70.9, 56.9, 48.3, 42.4, 38.0};
  for (int n = 2; n <= 7; ++n)
    EXPECT_DOUBLE_EQ(s.Discharge(n), blocks[n - 2]) << "block " << n;
  const double around[] = {48.3, 70.9, 207.9, 250, 56.9, 38.0};
  for (int i = 22; i <= 27; ++i)
    EXPECT_DOUBLE_EQ(s.Hydrograph(i), around[i - 22]) << "ordinate " << i;
  EXPECT_DOUBLE_EQ(s.Hydrograph(1), 12.7);
  EXPECT_DOUBLE_EQ(s.Discharge(36), 12.7);
  EXPECT_DOUBLE_EQ(s.Hydrograph(36), 13.2);
  EXPECT_EQ(s.Hydrograph(37), 0.0);
}

TEST(Engine, WorkedFiguresForTc5) {
  const RunResult s = test::Computed(Basin(5, 2.5, 100, 0.5, 250));
  EXPECT_EQ(s.Hydrograph(49), 250.0);
  EXPECT_EQ(s.Hydrograph(48), s.Discharge(2));
  EXPECT_EQ(s.Hydrograph(50), s.Discharge(4));
  for (int i = 0; i <= s.OrdinateCount; ++i) {
    if (i == 49)
      continue;
    const double tenths = s.Hydrograph(i) * 10;
    EXPECT_NEAR(tenths, std::round(tenths), 1e-9) << "ordinate " << i << " is a multiple of 0.1";
  }
}

TEST(Engine, Tc240PlacesOneBlockBeforeThePeak) {
  const RunResult s = test::Computed(Basin(240, 2.5, 100, 0.85, 250));
  EXPECT_EQ(s.Hydrograph(1), s.Discharge(2));
  EXPECT_EQ(s.Hydrograph(0), 0.0);
  EXPECT_EQ(s.Hydrograph(3), 0.0);
}

TEST(Engine, PeakDischargeIsNeverRounded) {
  const RunResult s = test::Computed(Basin(10, 2.5, 100, 0.85, 250.123456));
  EXPECT_EQ(s.Hydrograph(25), 250.123456);
}

// Block discharges are rounded half up to 0.1 cfs. Keeping block 1's intensity (peak / CA) fixed
// keeps block 2's rainfall fixed, so scaling the area gives any wanted unrounded discharge.
TEST(Engine, BlocksRoundHalfUpToATenth) {
  const double intensity1 = 3.0;  // in/hr
  const RunResult probe = test::Computed(Basin(10, 2.5, 1, 1, intensity1));
  // Unrounded block 2 per acre at C = 1.
  const double perAcre = 60.0 / 10.0 * probe.RainIncrement(2);
  struct {
    double wanted;  // unrounded block 2, cfs
    double stored;
  } cases[] = {{12.34, 12.3}, {12.36, 12.4}, {-0.04, 0.0}, {-0.06, -0.1}};
  for (const auto& c : cases) {
    const double area = std::fabs(c.wanted) / perAcre;
    const double coef = c.wanted < 0 ? -1 : 1;
    const RunResult s = test::Computed(Basin(10, 2.5, area, coef, intensity1 * area * coef));
    EXPECT_DOUBLE_EQ(s.Discharge(2), c.stored) << "block of " << c.wanted;
  }
}

TEST(Engine, ReusedStorageShowsNothingOfTheFirstRun) {
  // Tc = 10 writes ordinate 1; Tc = 13 (N = 28) does not, so a stale value would show there.
  RunResult s;
  ComputeHydrograph(Basin(10, 2.5, 100, 0.85, 250), s);
  ASSERT_NE(s.Hydrograph(1), 0.0);
  ComputeHydrograph(Basin(13, 2.5, 100, 0.85, 250), s);
  EXPECT_EQ(s.Hydrograph(1), 0.0);
  EXPECT_EQ(s.Hydrograph.Size(), s.OrdinateCount + 1);
  EXPECT_EQ(s.Discharge.Size(), s.BlockCount + 1);  // N = 28
}

// The rainfall block that ends at each ordinate: block 1 (from the peak) at the peak, every other
// block where its discharge landed, as an intensity over Tc.
TEST(Engine, HyetographFollowsTheBlocks) {
  const RunInputs in = Basin(10, 2.5, 100, 0.85, 250);
  const RunResult s = test::Computed(in);
  EXPECT_DOUBLE_EQ(s.Hyetograph(s.PeakIndex), 250.0 / 85.0);
  EXPECT_DOUBLE_EQ(s.Hyetograph(24), s.RainIncrement(2) * 6);  // block 2, before the peak
  EXPECT_DOUBLE_EQ(s.Hyetograph(26), s.RainIncrement(4) * 6);  // block 4, after it
  long blocks = 0;
  for (long i = 0; i <= s.OrdinateCount; ++i) {
    if (s.Hyetograph(i) != 0.0) {
      ++blocks;
      EXPECT_NEAR(s.Hyetograph(i) * in.BasinArea * in.RunoffCoefficient, s.Hydrograph(i), 0.05)
          << "ordinate " << i;
    }
  }
  EXPECT_EQ(blocks, s.BlockCount);
}

// The blocks as the method writes them, one checked step after another, each formed anew: what
// the engine's arrangement of the same steps must reproduce to the last bit.
std::vector<double> BlocksAsWritten(const RunInputs& in, long blocks) {
  using namespace checked;
  const double tc = in.TimeOfConcentration;
  std::vector<double> intensity(blocks + 1), discharge(blocks + 1);
  intensity[1] = Div(in.PeakDischarge, Mul(in.BasinArea, in.RunoffCoefficient));
  for (long n = 2; n <= blocks; ++n) {
    const double d = Mul(tc, static_cast<double>(n));
    intensity[n] = Mul(Mul(7.44, in.SixHourRainfall), Pow(d, -0.645));
    const double increment =
        Sub(Mul(Div(d, 60), intensity[n]), Mul(Div(Sub(d, tc), 60), intensity[n - 1]));
    discharge[n] =
        RoundHalfUp(Mul(Mul(Div(Mul(in.BasinArea, 60), tc), increment), in.RunoffCoefficient), 10);
  }
  discharge.insert(discharge.end(), intensity.begin(), intensity.end());
  return discharge;
}

std::uint64_t Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(Engine, BlocksAreTheWrittenStepsToTheLastBit) {
  long compared = 0;
  for (double tc = 5; tc <= 150; tc += 1) {
    for (const double p6 : {0.7, 2.5, 3.37}) {
      for (const double area : {1.0, 100.0, 12345.6}) {
        for (const double coef : {0.13, 0.85}) {
          const RunInputs in = Basin(tc, p6, area, coef, 17.3 * area * coef);
          const RunResult r = test::Computed(in);
          const std::vector<double> expected = BlocksAsWritten(in, r.BlockCount);
          for (long n = 2; n <= r.BlockCount; ++n) {
            ASSERT_EQ(Bits(r.Discharge[n]), Bits(expected[n])) << "Tc " << tc << " block " << n;
            ASSERT_EQ(Bits(r.Intensity[n]), Bits(expected[r.BlockCount + 1 + n])) << n;
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_GT(compared, 10000);
}

TEST(Engine, ArithmeticFaults) {
  struct {
    const char* name;
    double tc, area, coef, peak, p6;
    const char* message;
  } cases[] = {
      {"zero area", 10, 0, 0.85, 250, 2.5, "Division by zero."},
      {"zero coefficient", 10, 100, 0, 250, 2.5, "Division by zero."},
      {"zero area and peak", 10, 0, 0.85, 0, 2.5, "Division by zero."},
      {"overflowing block", 10, 1e308, 0.85, 250, 2.5, "Overflow."},
      {"overflowing rainfall", 10, 100, 0.85, 250, 1e308, "Overflow."},
      {"overflowing rounding of a block", 10, 100, 0.85, 1e308, 2.5, "Overflow."},
      {"overflowing ordinate times", 9e307, 100, 0.85, 250, 2.5, "Overflow."},
  };
  for (const auto& c : cases) {
    try {
      test::Computed(Basin(c.tc, c.p6, c.area, c.coef, c.peak));
      ADD_FAILURE() << c.name << ": no fault";
    } catch (const ArithmeticFault& fault) {
      EXPECT_STREQ(fault.what(), c.message) << c.name;
    }
  }
}

TEST(Engine, OrdinateIndexOutsideTheArraysIsASubscriptFault) {
  const RunResult s = test::Computed(Basin(10, 2.5, 100, 0.85, 250));
  EXPECT_THROW(s.Hydrograph(s.OrdinateCount + 1), SubscriptFault);
  EXPECT_THROW(s.Discharge(-1), SubscriptFault);
  EXPECT_NO_THROW(s.Intensity(s.BlockCount));
  // Outside the 5-minute floor of the run request the blocks no longer fit, whichever way.
  for (const double tc : {1.0, 1.2, -10.0, -1e-300}) {
    EXPECT_THROW(test::Computed(Basin(tc, 2.5, 100, 0.85, 250)), SubscriptFault) << tc;
  }
}

}  // namespace
}  // namespace rh
