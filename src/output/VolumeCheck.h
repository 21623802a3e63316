// The continuity check of a run: the hydrograph's runoff volume against the design storm's, and
// the entered peak discharge against the chart's C x I(Tc) x A.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Hydrograph.h"
#include "engine/Pond.h"
#include "output/PondReport.h"

namespace rh {

constexpr double kCubicFeetPerAcreInch = 3630.0;
constexpr double kPeakTolerance = 0.10;   // entered peak within 10 % of the chart's
constexpr double kVolumeRatioLow = 0.98;  // hydrograph volume / design-storm volume
constexpr double kVolumeRatioHigh = 1.02;

// The volume balance of a run routed through a pond: what flowed in equals what flowed out, plus
// what went over the top, plus what the pond still holds at the end of routing. The volumes are the
// routing's own trapezoids, (I1 + I2) / 2 x dt and (O1 + O2) / 2 x dt summed over its steps; the
// routing's sums, storage left and figures (the peak outflow, the maximum storage and stage, the
// top, the dead storage, the drawdown and the overflow) are read from the routing itself.
struct PondBalance {
  std::shared_ptr<const PondRouting> Routing;  // the run's routing, never null
  long Steps = 0;
  double InflowCubicFeet = 0;  // the routing's InflowSumCfs / 2 x step x 60 s
  double InflowAcreFeet = 0;
  double OutflowCubicFeet = 0;  // the routing's OutflowSumCfs / 2 x step x 60 s
  double OutflowAcreFeet = 0;
  double StorageLeftCubicFeet = 0;
  double OverflowCubicFeet = 0;   // over the top
  double ImbalanceCubicFeet = 0;  // inflow - outflow - overflow - storage left
  OutletsAtPeak Outlets;          // each outlet's flow at the peak outflow
};

// The pond's volumes are off by more than this share of its inflow.
constexpr double kPondBalanceTolerance = 0.001;

struct VolumeCheck {
  // Hydrograph volume: the reported ordinates summed, times the ordinate spacing.
  double TimeOfConcentration = 0;  // Tc, minutes (the ordinate spacing)
  double OrdinateSum = 0;          // cfs, Hydrograph(0..OrdinateCount)
  double HydrographCubicFeet = 0;  // OrdinateSum x Tc x 60 s
  double HydrographAcreFeet = 0;

  // The rainfall table the storm comes from ("FILE, ARI N years"); empty for the county chart.
  std::string RainfallTable;

  // Design-storm volume: C x P(N x Tc) x A.
  long BlockCount = 0;           // N
  double StormMinutes = 0;       // N x Tc
  double SixHourRainfall = 0;    // P6, inches
  double StormDepth = 0;         // P(N x Tc), inches
  double BasinArea = 0;          // A, acres
  double RunoffCoefficient = 0;  // C
  double DesignAcreInches = 0;   // C x P x A
  double DesignCubicFeet = 0;
  double DesignAcreFeet = 0;

  // Hydrograph volume / design-storm volume; none when the design-storm volume shows as 0 cu ft or
  // a volume is beyond the range of a double.
  std::optional<double> VolumeRatio;

  // Peak: the chart's C x I(Tc) x A beside the entered one.
  double ChartIntensity = 0;  // I(Tc), in/hr
  double ChartPeak = 0;       // cfs
  double EnteredPeak = 0;     // cfs, the peak discharge of the run
  // (entered - chart) / chart; none when the chart's peak shows as 0.00 cfs or a figure is beyond
  // the range of a double.
  std::optional<double> PeakDifference;

  // The pond's balance, when the run is routed through one.
  std::optional<PondBalance> Pond;

  bool PeakWarning = false;    // |PeakDifference| > 10 % (none: no warning)
  bool VolumeWarning = false;  // VolumeRatio outside 0.98..1.02 (none: no warning)
  bool PondWarning = false;    // |ImbalanceCubicFeet| above 0.1 % of the pond's inflow
};

// The check of `run`, on the run's own rainfall (the county chart or its table). Never faults for a
// run that was computed: a figure beyond the range of a double is infinite (or not a number) and
// takes part in no comparison.
VolumeCheck CheckVolumes(const Run& run);

// The check as the companion prints it after the listing: each figure with the numbers it comes
// from, then a warning line for each figure outside its tolerance; for a routed run, the pond's
// balance after them.
std::vector<std::string> CheckLines(const VolumeCheck& check);

}  // namespace rh
