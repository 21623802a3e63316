#include "engine/Hydrograph.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "core/Faults.h"
#include "engine/Checked.h"

namespace rh {

using namespace checked;

namespace {

constexpr double kStormMinutes = 360.0;  // the 6-hour design storm
constexpr double kChartCoefficient = 7.44;
constexpr double kChartExponent = -0.645;

// Blocks 2..N: the chart's intensity for the duration n x Tc, the block's rainfall depth (the
// depth of n x Tc less that of (n - 1) x Tc) and its discharge C x (depth as an intensity over Tc)
// x A, rounded half up to 0.1 cfs. Every product is formed exactly as written (the same operands
// in the same order), so the figures come out the same to the last bit; only what does not change
// from block to block is worked out once: A x 60 / Tc, 7.44 P6, and the depth of (n - 1) x Tc,
// which the block before has just computed. With PlainSteps nothing is checked, and the return
// value says whether a stored figure is not a number (an infinity or a NaN anywhere in a block's
// steps reaches its intensity or its discharge).
template <typename Steps>
bool ComputeBlocks(const RunInputs& in, long N, RunResult& r) {
  using S = Steps;
  const double tc = in.TimeOfConcentration;
  const double coef = in.RunoffCoefficient;
  const double perDepth = S::Div(S::Mul(in.BasinArea, 60), tc);  // cfs per inch, over C
  const DepthDurationTable* table = in.Rainfall ? &in.Rainfall->Table : nullptr;
  const double chart = table != nullptr ? 0 : S::Mul(kChartCoefficient, in.SixHourRainfall);
  double before = tc;  // (n - 1) x Tc, minutes
  double depthBefore = S::Mul(S::Div(before, 60), r.Intensity[1]);
  bool nonFinite = false;
  // The chart's powers and the blocks' depths first, then the discharges: the second loop calls
  // nothing, so the processor overlaps its blocks.
  for (long n = 2; n <= N; ++n) {
    const double d = S::Mul(tc, static_cast<double>(n));  // duration, minutes
    // (n - 1) x Tc as the block's own formula forms it, d - Tc: the same number as the block
    // before's duration for whole minutes; otherwise its depth is formed anew.
    const double previous = S::Sub(d, tc);
    if (previous != before)
      depthBefore = S::Mul(S::Div(previous, 60), r.Intensity[n - 1]);
    const double intensity =
        table != nullptr ? table->Intensity(d) : S::Mul(chart, S::Pow(d, kChartExponent));
    const double depth = S::Mul(S::Div(d, 60), intensity);
    r.Intensity[n] = intensity;
    r.RainIncrement[n] = S::Sub(depth, depthBefore);
    nonFinite |= NonFinite(intensity);
    before = d;
    depthBefore = depth;
  }
  for (long n = 2; n <= N; ++n) {
    const double discharge = S::RoundHalfUp(S::Mul(S::Mul(perDepth, r.RainIncrement[n]), coef), 10);
    r.Discharge[n] = discharge;
    nonFinite |= NonFinite(discharge);
  }
  return nonFinite;
}

[[noreturn]] void ThrowLayout() {
  throw SubscriptFault(messages::kLayoutText + std::to_string(kMaxOrdinates) + ".");
}

}  // namespace

void OrdinateArray::ThrowSubscript(long index) const {
  throw SubscriptFault(messages::kSubscriptText + std::to_string(index) + " is outside 0.." +
                       std::to_string(Size() - 1) + ".");
}

long StormBlockCount(double tc) {
  const double blocks = RoundHalfUp(Div(kStormMinutes, tc), 1);
  // Outside 0..MaxOrdinates the blocks cannot be laid out (and a huge value would not even fit
  // the integer that counts them).
  if (!(blocks >= 0 && blocks <= kMaxOrdinates))
    ThrowLayout();
  return static_cast<long>(blocks);
}

double ChartIntensity(double sixHourRainfall, double minutes) {
  return Mul(Mul(kChartCoefficient, sixHourRainfall), Pow(minutes, kChartExponent));
}

double StormIntensity(const RunInputs& inputs, double minutes) {
  return inputs.Rainfall ? inputs.Rainfall->Table.Intensity(minutes)
                         : ChartIntensity(inputs.SixHourRainfall, minutes);
}

double StormDepth(const RunInputs& inputs, double minutes) {
  return inputs.Rainfall ? inputs.Rainfall->Table.Depth(minutes)
                         : ChartDepth(inputs.SixHourRainfall, minutes);
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
  // Every entry is written below.
  const long blocks = std::max(N, 1L);
  r.Intensity.Resize(blocks + 1);
  r.RainIncrement.Resize(blocks + 1);
  r.Discharge.Resize(blocks + 3);
  r.Intensity[0] = 0;
  r.RainIncrement[0] = r.RainIncrement[1] = 0;
  r.Discharge[0] = 0;
  r.Discharge[blocks + 1] = r.Discharge[blocks + 2] = 0;

  // Block 1 is back-computed from the entered peak discharge, not read from the chart.
  r.Discharge[1] = in.PeakDischarge;
  r.Intensity[1] = Div(in.PeakDischarge, Mul(area, coef));

  // Unchecked first; a figure that is not a number sends the blocks through the checked steps,
  // which raise the fault.
  if (N >= 2 && ComputeBlocks<PlainSteps>(in, N, r))
    ComputeBlocks<CheckedSteps>(in, N, r);

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
  const double perHour = Div(60, tc);        // a depth over Tc as an intensity
  const auto blockIntensity = [&](long n) {  // in/hr over the block's Tc
    return n == 1 ? r.Intensity[1] : Mul(r.RainIncrement[n], perHour);
  };
  // The blocks go out in order of depth (the alternating-block method): block 1 at the peak and
  // block 2, which holds what the peak leaves of the first 2 Tc, just before it; then blocks 3..N
  // deepest first, equal depths in duration order. The chart's depths fall with duration, so its
  // blocks keep their order; a table's log-log interpolation may make a later block deeper than
  // an earlier one.
  std::vector<long> byDepth;
  for (long n = 4; n <= N; ++n) {
    if (r.RainIncrement[n] > r.RainIncrement[n - 1]) {
      byDepth.resize(static_cast<std::size_t>(N + 3));
      std::iota(byDepth.begin(), byDepth.end(), 0L);
      std::stable_sort(byDepth.begin() + 3, byDepth.begin() + N + 1,
                       [&](long a, long b) { return r.RainIncrement[a] > r.RainIncrement[b]; });
      break;
    }
  }
  const auto block = [&](long k) {
    return byDepth.empty() ? k : byDepth[static_cast<std::size_t>(k)];
  };
  r.Hydrograph[peak] = r.Discharge[1];
  r.Hyetograph[peak] = r.Intensity[1];
  // Two blocks before the peak for each one after it.
  long left = peak - 1;
  long right = peak + 1;
  for (long n = 2; n <= N; n += 3) {
    r.Hydrograph[left] = r.Discharge[block(n)];
    r.Hyetograph[left] = blockIntensity(block(n));
    r.Hydrograph[left - 1] = r.Discharge[block(n + 1)];
    if (n + 1 <= N)
      r.Hyetograph[left - 1] = blockIntensity(block(n + 1));
    if (n + 2 <= N) {
      r.Hydrograph[right] = r.Discharge[block(n + 2)];
      r.Hyetograph[right] = blockIntensity(block(n + 2));
    }
    left -= 2;
    right += 1;
  }
  r.Discharge.Truncate(blocks + 1);
}

double BlockBeforePeak(const RunInputs& in) {
  RunResult r;
  r.Intensity.Resize(3);
  r.RainIncrement.Resize(3);
  r.Discharge.Resize(3);
  r.Intensity[1] = Div(in.PeakDischarge, Mul(in.BasinArea, in.RunoffCoefficient));
  ComputeBlocks<CheckedSteps>(in, 2, r);
  return r.Discharge[2];
}

}  // namespace rh
