#include "engine/Hydrograph.h"

#include <algorithm>
#include <string>

#include "engine/Checked.h"

namespace rh {

using namespace checked;

namespace {
constexpr double kStormMinutes = 360.0;  // the 6-hour design storm
constexpr double kChartCoefficient = 7.44;
constexpr double kChartExponent = -0.645;
constexpr long kTailOrdinatesHec1 = 10;
}  // namespace

long StormBlockCount(double tc) {
  const double blocks = Floor(Add(Div(kStormMinutes, tc), 0.5));
  // Outside 0..MaxOrdinates the blocks cannot be laid out (and a huge value would not even fit
  // the integer that counts them).
  if (!(blocks >= 0 && blocks <= kMaxOrdinates))
    throw SubscriptFault("The hydrograph's ordinates do not fit 0.." +
                         std::to_string(kMaxOrdinates) + ".");
  return static_cast<long>(blocks);
}

double ChartIntensity(double sixHourRainfall, double minutes) {
  return Mul(Mul(kChartCoefficient, sixHourRainfall), Pow(minutes, kChartExponent));
}

double ChartDepth(double sixHourRainfall, double minutes) {
  return Div(Mul(Mul(kChartCoefficient, sixHourRainfall), Pow(minutes, 1.0 + kChartExponent)), 60);
}

void ComputeHydrograph(Init& s) {
  const double tc = s.TimeOfConcentration;  // minutes
  const double area = s.BasinArea;          // acres
  const double coef = s.RunoffCoefficient;

  s.Intensity(0) = 0;
  s.Discharge(0) = 0;
  s.Discharge.FillFrom(2, 0);
  // The whole hydrograph is cleared, ordinates 0 and 1 included, so a run never reports an
  // ordinate left by an earlier one.
  s.Hydrograph.FillFrom(0, 0);

  const long N = StormBlockCount(tc);
  s.OrdinateCount = static_cast<std::int32_t>(N);

  // Block 1 is back-computed from the entered peak discharge, not read from the chart.
  s.Intensity(1) = Div(s.Discharge(1), Mul(area, coef));

  for (long n = 2; n <= N; ++n) {
    const double d = Mul(tc, static_cast<double>(n));  // duration, minutes
    s.Intensity(n) = ChartIntensity(s.SixHourRainfall, d);
    s.RainIncrement(n) =
        Sub(Mul(Div(d, 60), s.Intensity(n)), Mul(Div(Sub(d, tc), 60), s.Intensity(n - 1)));
    const double q = Mul(Mul(Div(Mul(area, 60), tc), s.RainIncrement(n)), coef);
    s.Discharge(n) = RoundHalfUp(q, 10);
  }

  // 2N is formed as an integer, then divided in double precision.
  const double peak = Floor(Add(static_cast<double>(2 * N) / 3.0, 1.5));
  s.PeakIndex = static_cast<std::int16_t>(peak);
  s.Hydrograph(s.PeakIndex) = s.Discharge(1);

  // Two blocks before the peak for each one after it. `last` is the highest ordinate holding the
  // peak or one of the blocks 1..N; the zero tail follows it.
  long left = s.PeakIndex - 1;
  long right = s.PeakIndex + 1;
  long last = s.PeakIndex;
  for (long n = 2; n <= N; n += 3) {
    s.Hydrograph(left) = s.Discharge(n);
    s.Hydrograph(left - 1) = s.Discharge(n + 1);
    s.Hydrograph(right) = s.Discharge(n + 2);
    if (n + 2 <= N)
      last = std::max(last, right);
    left -= 2;
    right += 1;
  }

  const long tail = s.Hec1Enabled != kFalse ? kTailOrdinatesHec1 : 1;
  for (long i = last + 1; i <= last + tail; ++i)
    s.Hydrograph(i) = 0;
  s.OrdinateCount = static_cast<std::int32_t>(last + tail);
}

}  // namespace rh
