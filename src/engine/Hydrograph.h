// Design-storm runoff hydrograph by the rational method: the inputs of a run, its result and the
// computation between them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Rainfall.h"

namespace rh {
struct TablePond;
struct PondRouting;
}  // namespace rh

namespace rh {

// Blocks and ordinates are numbered 0..kMaxOrdinates; a layout beyond it is a subscript fault.
constexpr std::int32_t kMaxOrdinates = 300;
// Zero ordinates that close the hydrograph after its last block: one, or ten when the run makes a
// HEC-1 input deck.
constexpr long kZeroTail = 1;
constexpr long kZeroTailHec1 = 10;
// The design storm's duration, minutes: its depth is the 6-hour rainfall P6.
constexpr double kSixHourMinutes = 360.0;
// 43,560 cubic feet make an acre-foot.
constexpr double kCubicFeetPerAcreFoot = 43560.0;

// The inputs of one run.
struct RunInputs {
  double TimeOfConcentration = 0;  // Tc, minutes (a whole number >= 5 after the run request)
  double SixHourRainfall = 0;      // P6, inches
  double BasinArea = 0;            // A, acres
  double RunoffCoefficient = 0;    // C, dimensionless
  double PeakDischarge = 0;        // Qp, cfs
  long ZeroTail = kZeroTail;       // zero ordinates after the last block
  // The design storm's depths and intensities: the county chart from P6 when there is no table;
  // from a table, P6 is the table's 6-hour depth.
  std::shared_ptr<const TableRainfall> Rainfall;
  // The detention pond the hydrograph is routed through (none: no routing), and the routing step,
  // a whole number of minutes that divides Tc.
  std::shared_ptr<const TablePond> Pond;
  long RouteStepMinutes = 1;
};

// Values indexed from 0. Access through () is checked: an index outside the values raises
// SubscriptFault; [] is the unchecked access for loops that stay inside.
class OrdinateArray {
 public:
  double operator()(long index) const {
    if (index < 0 || index >= Size())
      ThrowSubscript(index);
    return values_[static_cast<std::size_t>(index)];
  }
  double& operator()(long index) {
    if (index < 0 || index >= Size())
      ThrowSubscript(index);
    return values_[static_cast<std::size_t>(index)];
  }
  double operator[](long index) const { return values_[static_cast<std::size_t>(index)]; }
  double& operator[](long index) { return values_[static_cast<std::size_t>(index)]; }

  long Size() const { return static_cast<long>(values_.size()); }
  // `count` zeros; the storage is kept from one run to the next.
  void Reset(long count) { values_.assign(static_cast<std::size_t>(count), 0.0); }
  // `count` values, for a caller that writes every one of them (those kept from an earlier size
  // hold what they held).
  void Resize(long count) { values_.resize(static_cast<std::size_t>(count)); }
  // Keeps the first `count` values.
  void Truncate(long count) { values_.resize(static_cast<std::size_t>(count)); }
  const std::vector<double>& Values() const { return values_; }

 private:
  [[noreturn]] void ThrowSubscript(long index) const;
  std::vector<double> values_;
};

// What a run computes.
struct RunResult {
  long BlockCount = 0;  // N, the Tc blocks of the 6-hour storm
  // Blocks n = 0..max(N, 1):
  OrdinateArray Intensity;         // in/hr over a duration of n x Tc; entry 1 from Qp
  OrdinateArray RainIncrement;     // inches of rain added between (n-1) x Tc and n x Tc
  OrdinateArray Discharge;         // cfs, block n in computation order; entry 1 = Qp
  OrdinateArray Hydrograph;        // cfs at time i x Tc, i = 0..OrdinateCount
  OrdinateArray Hyetograph;        // in/hr of the rainfall block that ends at time i x Tc (0: none)
  std::int32_t OrdinateCount = 0;  // index of the last reported ordinate
  std::int16_t PeakIndex = 0;      // position of the peak in Hydrograph
};

// A run as every output shows it: what went in and what came out.
struct Run {
  RunInputs Inputs;
  RunResult Result;
  // The hydrograph routed through Inputs.Pond; null when the run has no pond.
  std::shared_ptr<const PondRouting> Routing;
};

// Computes the distributed hydrograph of `inputs`.
//
// Intensities for durations n x Tc come from the County of San Diego chart,
// I = 7.44 P6 D^-0.645 (in/hr, D in minutes), or from the run's rainfall table; block 1's intensity
// is back-computed from the peak discharge, Qp / (A C). Block n's discharge is C x (its rainfall
// depth as an intensity over Tc) x A, rounded half up to 0.1 cfs; block 1 is the peak discharge,
// unrounded. The peak sits at ordinate floor(2N/3 + 1.5), block 2 just before it; blocks 3..N,
// deepest first, alternate two before the peak for each one after it. A zero tail of `ZeroTail`
// ordinates follows the last ordinate that holds a block, so no block is dropped and the peak is
// never overwritten.
//
// Every floating-point step is checked: an invalid operation, a division by zero (zero area or
// coefficient) or an overflow (extreme values, or an ordinate time Tc x n beyond the double range)
// raises ArithmeticFault. A layout outside ordinates 0..300 (Tc far below 5 minutes) raises
// SubscriptFault.
// The result goes into `result`, whose storage is reused from run to run (for runs of many basins).
void ComputeHydrograph(const RunInputs& inputs, RunResult& result);

// The discharge of block 2, cfs, as the hydrograph lists it: 2 C A I(2 Tc) - Qp rounded half up
// to 0.1 cfs, formed by the same steps as ComputeHydrograph. It is the block just before the peak,
// and the only one the peak discharge enters: a peak larger than the storm supports makes it
// negative. Throws as ComputeHydrograph does.
double BlockBeforePeak(const RunInputs& inputs);

// N, the number of Tc blocks in the 6-hour storm: floor(360 / Tc + 0.5). Throws ArithmeticFault
// for Tc = 0 and SubscriptFault when N would not fit the ordinates.
long StormBlockCount(double tc);

// The design storm's average intensity over a duration, in/hr, and its depth, inches: the county
// chart's, or the run's rainfall table's (log-log between its durations).
double StormIntensity(const RunInputs& inputs, double minutes);
double StormDepth(const RunInputs& inputs, double minutes);

// The chart's average intensity over a duration, in/hr: 7.44 P6 D^-0.645 (P6 inches, D minutes).
double ChartIntensity(double sixHourRainfall, double minutes);

// The chart's rainfall depth over a duration, inches: I x D / 60 = 7.44 P6 D^0.355 / 60.
double ChartDepth(double sixHourRainfall, double minutes);

}  // namespace rh
