#include "engine/Criteria.h"

#include <algorithm>
#include <cmath>

namespace rh {

namespace {

Verdict Of(bool passes) {
  return passes ? Verdict::Pass : Verdict::Fail;
}

}  // namespace

PeriodVerdicts Judge(const PeriodFigures& f, const CriteriaLimits& limits) {
  PeriodVerdicts v;
  if (limits.AllowableCfs)
    v.Release = Of(f.RoutedPeakCfs <= *limits.AllowableCfs);
  if (f.Routed) {
    if (limits.FreeboardFeet)
      v.Freeboard = Of(f.FreeboardFeet() >= *limits.FreeboardFeet);
    if (limits.DrawdownMaxMinutes)
      v.Drawdown = Of(f.DrawdownMinutes && *f.DrawdownMinutes <= *limits.DrawdownMaxMinutes);
    v.Overtopping = Of(!f.Overtopped);
  }
  bool any = false;
  bool fails = false;
  for (const Verdict each : {v.Release, v.Freeboard, v.Drawdown, v.Overtopping}) {
    any = any || each != Verdict::NotSet;
    fails = fails || each == Verdict::Fail;
  }
  v.Result = !any ? Verdict::NotSet : Of(!fails);
  return v;
}

double StorageAboveAcreFeet(const RunResult& result, double tcMinutes, double allowableCfs) {
  double cfsMinutes = 0;
  for (long i = 0; i < result.OrdinateCount; ++i) {
    const double a = result.Hydrograph(i) - allowableCfs;
    const double b = result.Hydrograph(i + 1) - allowableCfs;
    if (a >= 0 && b >= 0)
      cfsMinutes += (a + b) / 2 * tcMinutes;
    else if (a > 0 || b > 0)  // one end above: the triangle above the line
      cfsMinutes += std::max(a, b) * std::max(a, b) / (2 * std::fabs(b - a)) * tcMinutes;
  }
  return cfsMinutes * 60 / kCubicFeetPerAcreFoot;
}

}  // namespace rh
