#include "output/VolumeCheck.h"

#include <cmath>

#include "engine/Checked.h"
#include "engine/Hydrograph.h"

namespace rh {

using namespace checked;

VolumeCheck CheckVolumes(const Init& state) {
  VolumeCheck c;
  c.TimeOfConcentration = state.TimeOfConcentration;
  for (long n = 0; n <= state.OrdinateCount; ++n)
    c.OrdinateSum = Add(c.OrdinateSum, state.Hydrograph(n));
  c.HydrographCubicFeet = Mul(Mul(c.OrdinateSum, c.TimeOfConcentration), 60);
  c.HydrographAcreFeet = Div(c.HydrographCubicFeet, kCubicFeetPerAcreFoot);

  c.BlockCount = StormBlockCount(c.TimeOfConcentration);
  c.StormMinutes = Mul(static_cast<double>(c.BlockCount), c.TimeOfConcentration);
  c.SixHourRainfall = state.SixHourRainfall;
  c.StormDepth = ChartDepth(c.SixHourRainfall, c.StormMinutes);
  c.BasinArea = state.BasinArea;
  c.RunoffCoefficient = state.RunoffCoefficient;
  c.DesignAcreInches = Mul(Mul(c.RunoffCoefficient, c.StormDepth), c.BasinArea);
  c.DesignCubicFeet = Mul(c.DesignAcreInches, kCubicFeetPerAcreInch);
  c.DesignAcreFeet = Div(c.DesignCubicFeet, kCubicFeetPerAcreFoot);
  if (c.DesignCubicFeet != 0.0)
    c.VolumeRatio = Div(c.HydrographCubicFeet, c.DesignCubicFeet);

  c.ChartIntensity = rh::ChartIntensity(c.SixHourRainfall, c.TimeOfConcentration);
  c.ChartPeak = Mul(Mul(c.RunoffCoefficient, c.ChartIntensity), c.BasinArea);
  c.EnteredPeak = state.Discharge(1);
  if (c.ChartPeak != 0.0)
    c.PeakDifference = Div(Sub(c.EnteredPeak, c.ChartPeak), c.ChartPeak);

  c.PeakWarning = !c.PeakDifference || std::fabs(*c.PeakDifference) > kPeakTolerance;
  c.VolumeWarning =
      !c.VolumeRatio || *c.VolumeRatio < kVolumeRatioLow || *c.VolumeRatio > kVolumeRatioHigh;
  return c;
}

}  // namespace rh
