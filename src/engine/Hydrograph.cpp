#include "engine/Hydrograph.h"

#include <algorithm>
#include <string>

#include "engine/Checked.h"
#include "platform/Faults.h"

namespace rh {

using namespace checked;

namespace {

constexpr double kStormMinutes = 360.0;  // the 6-hour design storm
constexpr double kChartCoefficient = 7.44;
constexpr double kChartExponent = -0.645;

[[noreturn]] void ThrowLayout() {
  throw SubscriptFault("The hydrograph's ordinates do not fit 0.." + std::to_string(kMaxOrdinates) +
                       ".");
}

}  // namespace

void OrdinateArray::ThrowSubscript(long index) const {
  throw SubscriptFault("Subscript out of range: ordinate " + std::to_string(index) +
                       " is outside 0.." + std::to_string(Size() - 1) + ".");
}

long StormBlockCount(double tc) {
  const double blocks = Floor(Add(Div(kStormMinutes, tc), 0.5));
  // Outside 0..MaxOrdinates the blocks cannot be laid out (and a huge value would not even fit
  // the integer that counts them).
  if (!(blocks >= 0 && blocks <= kMaxOrdinates))
    ThrowLayout();
  return static_cast<long>(blocks);
}

double ChartIntensity(double sixHourRainfall, double minutes) {
  return Mul(Mul(kChartCoefficient, sixHourRainfall), Pow(minutes, kChartExponent));
}

double ChartDepth(double sixHourRainfall, double minutes) {
  return Div(Mul(Mul(kChartCoefficient, sixHourRainfall), Pow(minutes, 1.0 + kChartExponent)), 60);
}

void ComputeHydrograph(const RunInputs& in, RunResult& r) {
  const double tc = in.TimeOfConcentration;  // minutes
  const double area = in.BasinArea;          // acres
  const double coef = in.RunoffCoefficient;

  const long N = StormBlockCount(tc);
  r.BlockCount = N;
  // Block 1 (the peak) exists even in a storm of no whole block; blocks N + 1 and N + 2 are read
  // as 0 by the last distribution pass.
  const long blocks = std::max(N, 1L);
  r.Intensity.Reset(blocks + 1);
  r.RainIncrement.Reset(blocks + 1);
  r.Discharge.Reset(blocks + 3);

  // Block 1 is back-computed from the entered peak discharge, not read from the chart.
  r.Discharge[1] = in.PeakDischarge;
  r.Intensity[1] = Div(in.PeakDischarge, Mul(area, coef));

  for (long n = 2; n <= N; ++n) {
    const double d = Mul(tc, static_cast<double>(n));  // duration, minutes
    r.Intensity[n] = ChartIntensity(in.SixHourRainfall, d);
    r.RainIncrement[n] =
        Sub(Mul(Div(d, 60), r.Intensity[n]), Mul(Div(Sub(d, tc), 60), r.Intensity[n - 1]));
    const double q = Mul(Mul(Div(Mul(area, 60), tc), r.RainIncrement[n]), coef);
    r.Discharge[n] = RoundHalfUp(q, 10);
  }

  // 2N is formed as an integer, then divided in double precision.
  const long peak = static_cast<long>(Floor(Add(static_cast<double>(2 * N) / 3.0, 1.5)));
  // Passes of the distribution (blocks 2, 5, 8, ... up to N) and the highest ordinate holding the
  // peak or one of the blocks 1..N; the zero tail follows it.
  const long passes = N >= 2 ? (N - 2) / 3 + 1 : 0;
  const long blocksAfter = N >= 4 ? std::min(passes, (N - 4) / 3 + 1) : 0;
  const long last = peak + blocksAfter;
  const long count = last + in.ZeroTail;
  if (peak - 2 * passes < 0 || peak + passes > kMaxOrdinates || count > kMaxOrdinates ||
      in.ZeroTail < 1)
    ThrowLayout();
  r.PeakIndex = static_cast<std::int16_t>(peak);
  r.OrdinateCount = static_cast<std::int32_t>(count);

  // Every time shown, up to the last ordinate's, must exist as a number.
  Mul(tc, static_cast<double>(count));

  r.Hydrograph.Reset(count + 1);
  r.Hyetograph.Reset(count + 1);
  const auto blockIntensity = [&](long n) {  // in/hr over the block's Tc
    return n == 1 ? r.Intensity[1] : Div(Mul(r.RainIncrement[n], 60), tc);
  };
  r.Hydrograph[peak] = r.Discharge[1];
  r.Hyetograph[peak] = r.Intensity[1];
  // Two blocks before the peak for each one after it.
  long left = peak - 1;
  long right = peak + 1;
  for (long n = 2; n <= N; n += 3) {
    r.Hydrograph[left] = r.Discharge[n];
    r.Hyetograph[left] = blockIntensity(n);
    r.Hydrograph[left - 1] = r.Discharge[n + 1];
    if (n + 1 <= N)
      r.Hyetograph[left - 1] = blockIntensity(n + 1);
    if (n + 2 <= N) {
      r.Hydrograph[right] = r.Discharge[n + 2];
      r.Hyetograph[right] = blockIntensity(n + 2);
    }
    left -= 2;
    right += 1;
  }
  r.Discharge.Truncate(blocks + 1);
}

RunResult ComputeHydrograph(const RunInputs& inputs) {
  RunResult result;
  ComputeHydrograph(inputs, result);
  return result;
}

Run ComputeRun(const RunInputs& inputs) {
  Run run{inputs, {}};
  ComputeHydrograph(inputs, run.Result);
  return run;
}

}  // namespace rh
