#include "output/VolumeCheck.h"

#include <cmath>

#include "core/NumberForms.h"
#include "engine/Checked.h"
#include "engine/Hydrograph.h"
#include "engine/Pond.h"
#include "output/PondReport.h"

namespace rh {

using namespace checked;

namespace {
constexpr const char* kPeakWarning =
    "WARNING: the entered peak discharge differs from the chart's C x I(Tc) x A by more than 10 %.";
constexpr const char* kVolumeWarning =
    "WARNING: the hydrograph volume differs from the design-storm volume by more than 2 % "
    "(ratio outside 0.98..1.02).";
constexpr const char* kPondWarning =
    "WARNING: the pond's inflow differs from its outflow and storage left by more than 0.1 %.";

PondBalance BalanceOf(const Run& run) {
  const PondRouting& routing = *run.Routing;
  PondBalance b;
  b.Routing = run.Routing;
  b.Steps = static_cast<long>(routing.States.size()) - 1;
  const double halfStepSeconds = Mul(static_cast<double>(routing.StepMinutes), 30);
  b.InflowCubicFeet = Mul(routing.InflowSumCfs, halfStepSeconds);
  b.InflowAcreFeet = Div(b.InflowCubicFeet, kCubicFeetPerAcreFoot);
  b.OutflowCubicFeet = Mul(routing.OutflowSumCfs, halfStepSeconds);
  b.OutflowAcreFeet = Div(b.OutflowCubicFeet, kCubicFeetPerAcreFoot);
  b.StorageLeftCubicFeet = Mul(routing.StorageLeftAcreFeet, kCubicFeetPerAcreFoot);
  b.OverflowCubicFeet = Mul(routing.OverflowAcreFeet, kCubicFeetPerAcreFoot);
  b.ImbalanceCubicFeet = Sub(Sub(Sub(b.InflowCubicFeet, b.OutflowCubicFeet), b.OverflowCubicFeet),
                             b.StorageLeftCubicFeet);
  b.Outlets = OutletFlowsAtPeak(run);
  return b;
}

// True when `value`, written with `decimals` places, shows no digit but 0. A comparison needs a
// divisor that its line shows as more than 0.
bool ShownAsZero(double value, int decimals) {
  return Fixed(value, decimals).find_first_not_of("0.") == std::string::npos;
}
}  // namespace

VolumeCheck CheckVolumes(const Run& run) {
  // Plain arithmetic, so the check of a run that succeeded never faults: a figure beyond the range
  // of a double comes out infinite (or not a number), the lines show it as beyond the check, and
  // it takes part in no comparison.
  const auto beyondIfFault = [](auto figure) {
    try {
      return figure();
    } catch (const ArithmeticFault&) {
      return HUGE_VAL;
    }
  };
  const RunInputs& in = run.Inputs;
  const RunResult& r = run.Result;
  VolumeCheck c;
  c.TimeOfConcentration = in.TimeOfConcentration;
  if (in.Rainfall) {
    c.RainfallTable = in.Rainfall->File;
    if (!in.Rainfall->Ari.empty())
      c.RainfallTable += ", ARI " + in.Rainfall->Ari + " years";
  }
  for (long n = 0; n <= r.OrdinateCount; ++n)
    c.OrdinateSum += r.Hydrograph(n);
  c.HydrographCubicFeet = c.OrdinateSum * c.TimeOfConcentration * 60;
  c.HydrographAcreFeet = c.HydrographCubicFeet / kCubicFeetPerAcreFoot;

  c.BlockCount = StormBlockCount(c.TimeOfConcentration);
  c.StormMinutes = static_cast<double>(c.BlockCount) * c.TimeOfConcentration;
  c.SixHourRainfall = in.SixHourRainfall;
  c.StormDepth = beyondIfFault([&] { return StormDepth(in, c.StormMinutes); });
  c.BasinArea = in.BasinArea;
  c.RunoffCoefficient = in.RunoffCoefficient;
  c.DesignAcreInches = c.RunoffCoefficient * c.StormDepth * c.BasinArea;
  c.DesignCubicFeet = c.DesignAcreInches * kCubicFeetPerAcreInch;
  c.DesignAcreFeet = c.DesignCubicFeet / kCubicFeetPerAcreFoot;
  if (std::isfinite(c.HydrographCubicFeet) && std::isfinite(c.DesignCubicFeet) &&
      !ShownAsZero(c.DesignCubicFeet, 0))
    c.VolumeRatio = c.HydrographCubicFeet / c.DesignCubicFeet;

  c.ChartIntensity = beyondIfFault([&] { return StormIntensity(in, c.TimeOfConcentration); });
  c.ChartPeak = c.RunoffCoefficient * c.ChartIntensity * c.BasinArea;
  c.EnteredPeak = r.Discharge(1);
  if (std::isfinite(c.ChartPeak) && !ShownAsZero(c.ChartPeak, 2)) {
    const double difference = (c.EnteredPeak - c.ChartPeak) / c.ChartPeak;
    if (std::isfinite(difference))
      c.PeakDifference = difference;
  }

  // Where there is nothing to compare, the lines say why, and nothing is warned of.
  c.PeakWarning = c.PeakDifference && std::fabs(*c.PeakDifference) > kPeakTolerance;
  c.VolumeWarning =
      c.VolumeRatio && (*c.VolumeRatio < kVolumeRatioLow || *c.VolumeRatio > kVolumeRatioHigh);
  if (run.Routing) {
    c.Pond = BalanceOf(run);
    c.PondWarning = std::fabs(c.Pond->ImbalanceCubicFeet) >
                    kPondBalanceTolerance * std::fabs(c.Pond->InflowCubicFeet);
  }
  return c;
}

std::vector<std::string> CheckLines(const VolumeCheck& c) {
  // A figure beyond the range of a double is named so, never printed as a number.
  constexpr const char* kBeyond = "(beyond the check)";
  const auto n = [&](double value) {
    return std::isfinite(value) ? PlainNumber(value) : std::string(kBeyond);
  };
  const auto f = [&](double value, int decimals) {
    return std::isfinite(value) ? Fixed(value, decimals) : std::string(kBeyond);
  };
  const SpacedUnitWords u(kTextUnits);
  const std::string indent = "                      ";
  std::vector<std::string> lines;
  lines.emplace_back("");
  lines.emplace_back("Check: runoff volume and peak discharge");
  lines.emplace_back("  Hydrograph volume   = sum of ordinates x Tc x 60 s");
  lines.push_back(indent + "= " + f(c.OrdinateSum, 1) + u.Cfs + " x " + n(c.TimeOfConcentration) +
                  u.Minutes + " x 60 s = " + f(c.HydrographCubicFeet, 0) + u.CubicFeet);
  lines.push_back(indent + "= " + f(c.HydrographCubicFeet, 0) +
                  " / 43560 = " + f(c.HydrographAcreFeet, 4) + u.AcreFeet);
  const bool table = !c.RainfallTable.empty();
  const std::string duration = std::to_string(c.BlockCount) + " x " + n(c.TimeOfConcentration) +
                               " = " + n(c.StormMinutes) + u.Minutes;
  if (table) {
    lines.push_back("  Rainfall            = depth-duration table " + c.RainfallTable);
    lines.emplace_back(indent + "log-log between its durations, I(D) = P(D) x 60 / D");
    lines.emplace_back("  Design-storm volume = C x P(N x Tc) x A,  P(D) from the table, in");
    lines.push_back(indent + "P(" + duration + ") = " + f(c.StormDepth, 4) + u.Inches);
  } else {
    lines.emplace_back(
        "  Design-storm volume = C x P(N x Tc) x A,  P(D) = 7.44 P6 D^0.355 / 60 in");
    lines.push_back(indent + "P(" + duration + ") = 7.44 x " + n(c.SixHourRainfall) + " x " +
                    n(c.StormMinutes) + "^0.355 / 60 = " + f(c.StormDepth, 4) + u.Inches);
  }
  lines.push_back(indent + "= " + n(c.RunoffCoefficient) + " x " + f(c.StormDepth, 4) + u.Inches +
                  " x " + n(c.BasinArea) + " ac = " + f(c.DesignAcreInches, 3) + " ac-in");
  lines.push_back(indent + "= " + f(c.DesignAcreInches, 3) +
                  " x 3630 = " + f(c.DesignCubicFeet, 0) + u.CubicFeet + " = " +
                  f(c.DesignAcreFeet, 4) + u.AcreFeet);
  if (c.VolumeRatio) {
    lines.push_back("  Volume ratio        = " + f(c.HydrographCubicFeet, 0) + " / " +
                    f(c.DesignCubicFeet, 0) + " = " + f(*c.VolumeRatio, 4) +
                    " (expected 0.98 to 1.02)");
  } else if (c.DesignCubicFeet == 0.0) {
    lines.emplace_back("  Volume ratio        = none (the design-storm volume is 0)");
  } else if (!std::isfinite(c.DesignCubicFeet) || !std::isfinite(c.HydrographCubicFeet)) {
    lines.emplace_back("  Volume ratio        = none (a volume is beyond the check)");
  } else {
    lines.emplace_back("  Volume ratio        = none (the design-storm volume rounds to 0 cu ft)");
  }
  if (table) {
    lines.emplace_back("  Chart peak          = C x I(Tc) x A,  I(D) from the table, in/hr");
    lines.push_back(indent + "I(" + n(c.TimeOfConcentration) + ") = " + f(c.ChartIntensity, 4) +
                    u.InchesPerHour);
  } else {
    lines.emplace_back("  Chart peak          = C x I(Tc) x A,  I(D) = 7.44 P6 D^-0.645 in/hr");
    lines.push_back(indent + "I(" + n(c.TimeOfConcentration) + ") = 7.44 x " +
                    n(c.SixHourRainfall) + " x " + n(c.TimeOfConcentration) +
                    "^-0.645 = " + f(c.ChartIntensity, 4) + u.InchesPerHour);
  }
  lines.push_back(indent + "= " + n(c.RunoffCoefficient) + " x " + f(c.ChartIntensity, 4) +
                  u.InchesPerHour + " x " + n(c.BasinArea) + " ac = " + f(c.ChartPeak, 2) + u.Cfs);
  const std::string entered = "  Entered peak        = " + n(c.EnteredPeak) + u.Cfs + ", ";
  if (c.PeakDifference) {
    const double percent = *c.PeakDifference * 100.0;
    lines.push_back(entered + (std::isfinite(percent) ? SignedPercent(percent) : f(percent, 1)) +
                    " % from the chart peak (expected within 10 %)");
  } else if (c.ChartPeak == 0.0) {
    lines.push_back(entered + "no comparison (the chart peak is 0)");
  } else if (!std::isfinite(c.ChartPeak)) {
    lines.push_back(entered + "no comparison (the chart peak is beyond the check)");
  } else if (ShownAsZero(c.ChartPeak, 2)) {
    lines.push_back(entered + "no comparison (the chart peak rounds to 0.00 cfs)");
  } else {
    lines.push_back(entered + "no comparison (the difference is beyond the check)");
  }
  if (c.PeakWarning)
    lines.emplace_back(kPeakWarning);
  if (c.VolumeWarning)
    lines.emplace_back(kVolumeWarning);
  if (c.Pond) {
    const PondBalance& b = *c.Pond;
    const PondRouting& p = *b.Routing;
    const std::string step =
        " / 2 x " + n(static_cast<double>(p.StepMinutes)) + u.Minutes + " x 60 s = ";
    lines.emplace_back("");
    lines.emplace_back(p.Overtopped
                           ? "Check: pond volume balance, inflow = outflow + over the top + "
                             "storage left"
                           : "Check: pond volume balance, inflow = outflow + storage left");
    lines.push_back("  Pond inflow volume  = sum of (I1 + I2) / 2 x dt over " +
                    std::to_string(b.Steps) + " steps");
    lines.push_back(indent + "= " + Fixed(p.InflowSumCfs, 2) + u.Cfs + step +
                    Fixed(b.InflowCubicFeet, 0) + u.CubicFeet + " = " + Fixed(b.InflowAcreFeet, 4) +
                    u.AcreFeet);
    lines.emplace_back("  Pond outflow volume = sum of (O1 + O2) / 2 x dt");
    lines.push_back(indent + "= " + Fixed(p.OutflowSumCfs, 2) + u.Cfs + step +
                    Fixed(b.OutflowCubicFeet, 0) + u.CubicFeet + " = " +
                    Fixed(b.OutflowAcreFeet, 4) + u.AcreFeet);
    lines.push_back("  Storage left        = " + Fixed(p.StorageLeftAcreFeet, 4) + u.AcreFeet +
                    " at " + n(p.EndMinutes) + u.Minutes + " = " +
                    Fixed(b.StorageLeftCubicFeet, 0) + u.CubicFeet);
    if (p.Overtopped)
      lines.push_back("  Over the top        = " + Fixed(p.OverflowAcreFeet, 4) + u.AcreFeet +
                      " = " + Fixed(b.OverflowCubicFeet, 0) + u.CubicFeet);
    lines.push_back("  Balance             = " + Fixed(b.InflowCubicFeet, 0) + " - " +
                    Fixed(b.OutflowCubicFeet, 0) + " - " +
                    (p.Overtopped ? Fixed(b.OverflowCubicFeet, 0) + " - " : std::string()) +
                    Fixed(b.StorageLeftCubicFeet, 0) + " = " + Fixed(b.ImbalanceCubicFeet, 0) +
                    u.CubicFeet + " (expected 0)");
    if (c.PondWarning)
      lines.emplace_back(kPondWarning);
    lines.emplace_back("");
    lines.emplace_back("Check: pond design figures");
    lines.push_back("  Maximum stage       = " + Decimals(p.MaxStageFeet, 2) + u.Feet + " at " +
                    n(p.MaxStorageMinutes) + u.Minutes + ", top " + Decimals(p.TopStageFeet, 2) +
                    u.Feet + ", freeboard " + Decimals(p.TopStageFeet - p.MaxStageFeet, 2) +
                    u.Feet);
    if (!b.Outlets.Devices.empty()) {
      lines.push_back("  At the peak outflow = " + Decimals(p.PeakOutflowCfs, 2) + u.Cfs + " at " +
                      n(p.PeakOutflowMinutes) + u.Minutes + ", before the barrel's cap:");
      for (const OutletsAtPeak::Device& d : b.Outlets.Devices)
        lines.push_back(indent + d.Name + " " + Decimals(d.Cfs, 2) + u.Cfs);
      if (b.Outlets.BarrelCfs)
        lines.push_back(indent + "barrel capacity " + Decimals(*b.Outlets.BarrelCfs, 2) + u.Cfs);
    }
    const double threshold =
        p.DeadStorageAcreFeet + kDrainedShare * (p.MaxStorageAcreFeet - p.DeadStorageAcreFeet);
    const std::string target = indent + "down to " + Fixed(threshold, 4) + u.AcreFeet + " = dead " +
                               Fixed(p.DeadStorageAcreFeet, 4) + " + 1 % x (" +
                               Fixed(p.MaxStorageAcreFeet, 4) + " - " +
                               Fixed(p.DeadStorageAcreFeet, 4) + ")";
    if (p.DrainMinutes) {
      const HoursMinutes d = SplitHours(*p.DrainMinutes);
      lines.push_back("  Drawdown            = " + n(d.Hours) + u.Hours + " " + n(d.Minutes) +
                      u.Minutes + ", " + n(p.MaxStorageMinutes) + " to " +
                      n(p.MaxStorageMinutes + *p.DrainMinutes) + u.Minutes + ",");
    } else {
      lines.push_back(std::string("  Drawdown            = none: ") +
                      (p.PeakOutflowCfs > 0 ? "by " : "nothing released; by ") + n(p.EndMinutes) +
                      u.Minutes + " not");
    }
    lines.push_back(target);
    if (p.Overtopped)
      lines.push_back("  OVERTOPPED          = from " + n(p.OverflowStartMinutes) + " to " +
                      n(p.OverflowEndMinutes) + u.Minutes + ", " + Fixed(p.OverflowAcreFeet, 4) +
                      u.AcreFeet + " over the top, peak " + Decimals(p.OverflowPeakCfs, 2) + u.Cfs);
  }
  return lines;
}

}  // namespace rh
