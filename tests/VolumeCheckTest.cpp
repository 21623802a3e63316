#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "Basins.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "output/VolumeCheck.h"

namespace rh {
namespace {

Run Computed(double tc, double p6, double area, double coef, double peak) {
  RunInputs in;
  in.TimeOfConcentration = tc;
  in.SixHourRainfall = p6;
  in.BasinArea = area;
  in.RunoffCoefficient = coef;
  in.PeakDischarge = peak;
  return test::ComputeRun(in);
}

// Tc = 10 min, P6 = 2.5 in, A = 100 ac, C = 0.85, Qp = 250 cfs, worked by hand:
//
// N = floor(360 / 10 + 0.5) = 36 blocks, all of them reported (36 = 3 x 12).
// Block depths telescope: blocks 2..36 hold P(360) - (10 / 60) x I(1), where
//   I(1) = 250 / (100 x 0.85) = 2.94118 in/hr, so the first 10 min hold 0.49020 in, and
//   P(360) = 7.44 x 2.5 x 360^0.355 / 60 = 18.6 x 8.08141 / 60 = 2.50524 in.
// Blocks 2..36 = (100 x 60 / 10) x 0.85 x (2.50524 - 0.49020) = 510 x 2.01504 = 1027.67 cfs
// before each is rounded to 0.1 cfs; the rounded blocks add to 1027.8 cfs.
// Sum of ordinates = 250 + 1027.8 = 1277.8 cfs.
// Hydrograph volume = 1277.8 x 10 min x 60 s = 766,680 cu ft; / 43,560 = 17.6006 ac-ft.
// Design-storm volume = 0.85 x 2.50524 in x 100 ac = 212.945 ac-in; x 3630 = 772,991 cu ft
//   = 17.7454 ac-ft.
// Ratio = 766,680 / 772,991 = 0.99184: inside 0.98..1.02. (Without the 0.1 cfs rounding the
//   ratio is exactly 3600 / 3630 = 0.99174: 1 ac-in/hr is 1.0083 cfs, not 1.)
// I(10) = 18.6 x 10^-0.645 = 18.6 x 0.226464 = 4.21224 in/hr;
//   C x I x A = 0.85 x 4.21224 x 100 = 358.04 cfs. The entered 250 cfs is (250 - 358.04) /
//   358.04 = -30.2 % off: the peak warning is raised.
TEST(VolumeCheck, HandWorkedBasin) {
  const VolumeCheck c = CheckVolumes(Computed(10, 2.5, 100, 0.85, 250));
  EXPECT_NEAR(c.OrdinateSum, 1277.8, 1e-9);
  EXPECT_NEAR(c.HydrographCubicFeet, 766680, 1e-6);
  EXPECT_NEAR(c.HydrographAcreFeet, 17.6006, 5e-5);
  EXPECT_EQ(c.BlockCount, 36);
  EXPECT_EQ(c.StormMinutes, 360);
  EXPECT_NEAR(c.StormDepth, 2.50524, 5e-6);
  EXPECT_NEAR(c.DesignAcreInches, 212.945, 5e-4);
  EXPECT_NEAR(c.DesignCubicFeet, 772991, 1);
  EXPECT_NEAR(c.DesignAcreFeet, 17.7454, 5e-5);
  ASSERT_TRUE(c.VolumeRatio.has_value());
  EXPECT_NEAR(*c.VolumeRatio, 0.99184, 5e-6);
  EXPECT_NEAR(c.ChartIntensity, 4.21224, 5e-6);
  EXPECT_NEAR(c.ChartPeak, 358.04, 5e-3);
  ASSERT_TRUE(c.PeakDifference.has_value());
  EXPECT_NEAR(*c.PeakDifference, -0.30175, 5e-6);
  EXPECT_TRUE(c.PeakWarning);
  EXPECT_FALSE(c.VolumeWarning);
}

// The warnings switch on at their tolerances. The chart peak for Tc 10, P6 2.5, A 100, C 0.85 is
// 358.04 cfs, so 10 % either side is 322.24..393.84 cfs.
TEST(VolumeCheck, WarningsAtTheirTolerances) {
  struct {
    const char* name;
    double tc, p6, area, coef, peak;
    bool peakWarning, volumeWarning;
  } cases[] = {
      {"chart peak exactly", 10, 2.5, 100, 0.85, 358.04, false, false},
      {"9 % below the chart", 10, 2.5, 100, 0.85, 358.04 * 0.91, false, false},
      {"11 % below the chart", 10, 2.5, 100, 0.85, 358.04 * 0.89, true, false},
      {"11 % above the chart", 10, 2.5, 100, 0.85, 358.04 * 1.11, true, false},
      // Tc 13: N = 28 = 3 x 9 + 1, the layout keeps every block, so the volume still balances.
      {"N leaves a remainder of 1", 13, 2.5, 100, 0.85, 300, false, false},
      // No rain: the design-storm volume and the chart peak are 0, so there is nothing to compare
      // and nothing to warn of.
      {"no rain", 10, 0, 100, 0.85, 250, false, false},
      // Block 2 takes up whatever the entered peak adds or removes (its depth is measured from
      // the peak's back-computed intensity), so the volume balances whatever the peak.
      {"peak far above the chart", 10, 2.5, 100, 0.85, 2000, true, false},
      // Tc 300: one block only, the peak; its volume 250 x 300 x 60 = 4.5e6 cu ft against
      // 0.85 x P(300) x 100 x 3630 = 0.85 x 2.347 x 363000 = 7.24e5 cu ft.
      {"one block", 300, 2.5, 100, 0.85, 250, true, true},
  };
  for (const auto& c : cases) {
    const VolumeCheck check = CheckVolumes(Computed(c.tc, c.p6, c.area, c.coef, c.peak));
    EXPECT_EQ(check.PeakWarning, c.peakWarning) << c.name;
    EXPECT_EQ(check.VolumeWarning, c.volumeWarning) << c.name;
  }
}

TEST(VolumeCheck, NoRainGivesNoRatio) {
  const VolumeCheck c = CheckVolumes(Computed(10, 0, 100, 0.85, 250));
  EXPECT_FALSE(c.VolumeRatio.has_value());
  EXPECT_FALSE(c.PeakDifference.has_value());
}

// Entries at the edges of the double range whose runs are computed: the check never faults, writes
// no figure of more than 15 digits, and makes (and warns of) no comparison its figures cannot
// carry, saying why.
TEST(VolumeCheck, ExtremeRunsGiveReadableChecks) {
  const struct {
    const char* name;
    double tc, p6, area, coef, peak;
    const char* ratio;  // how the volume ratio line ends
    const char* peakSays;
  } cases[] = {
      {"rain below the normal doubles", 10, 1e-310, 100, 0.85, 250,
       "none (the design-storm volume rounds to 0 cu ft)",
       "no comparison (the chart peak rounds to 0.00 cfs)"},
      {"rain of 1e-300", 10, 1e-300, 100, 0.85, 250,
       "none (the design-storm volume rounds to 0 cu ft)",
       "no comparison (the chart peak rounds to 0.00 cfs)"},
      {"no rain", 10, 0, 100, 0.85, 0, "none (the design-storm volume is 0)",
       "no comparison (the chart peak is 0)"},
      {"Tc of 1e300", 1e300, 2.5, 100, 0.85, 250, "none (the design-storm volume is 0)",
       "no comparison (the chart peak rounds to 0.00 cfs)"},
      {"volumes beyond a double", 10, 2.5, 1e305, 0.85, 1e305,
       "none (a volume is beyond the check)", "-72.1 % from the chart peak"},
  };
  for (const auto& c : cases) {
    VolumeCheck check;
    ASSERT_NO_THROW(check = CheckVolumes(Computed(c.tc, c.p6, c.area, c.coef, c.peak))) << c.name;
    std::string text;
    for (const std::string& line : CheckLines(check))
      text += line + "\n";
    EXPECT_FALSE(std::regex_search(text, std::regex("[0-9]{16}"))) << c.name << "\n" << text;
    EXPECT_NE(text.find("  Volume ratio        = " + std::string(c.ratio) + "\n"),
              std::string::npos)
        << c.name << "\n"
        << text;
    EXPECT_NE(text.find(c.peakSays), std::string::npos) << c.name << "\n" << text;
    EXPECT_EQ(text.find("WARNING: the hydrograph volume"), std::string::npos) << c.name;
    EXPECT_EQ(text.find("WARNING: the entered peak") != std::string::npos,
              check.PeakDifference.has_value())
        << c.name;
  }
}

TEST(VolumeCheck, ChartFormsMatchTheEngine) {
  // The engine's block 2 intensity is the chart's I(2 Tc).
  const rh::Run s = Computed(10, 2.5, 100, 0.85, 250);
  EXPECT_DOUBLE_EQ(s.Result.Intensity(2), ChartIntensity(2.5, 20));
  EXPECT_NEAR(ChartDepth(2.5, 20), 20.0 / 60.0 * ChartIntensity(2.5, 20), 1e-12);
  EXPECT_EQ(StormBlockCount(7), 51);  // 360 / 7 = 51.43
  EXPECT_THROW(StormBlockCount(0), ArithmeticFault);
}

}  // namespace
}  // namespace rh
