#include "engine/Rainfall.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "core/Faults.h"
#include "engine/Checked.h"

namespace rh {

using namespace checked;

namespace {
bool PositiveFinite(double value) {
  return value > 0 && std::isfinite(value);
}

}  // namespace

DepthDurationTable::DepthDurationTable(std::vector<DepthDuration> points)
    : points_(std::move(points)) {
  if (points_.size() < 2)
    throw ArithmeticFault(messages::kTableTooShortText);
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const DepthDuration& p = points_[i];
    const bool ok =
        PositiveFinite(p.Minutes) && PositiveFinite(p.Inches) &&
        (i == 0 || (p.Minutes > points_[i - 1].Minutes && p.Inches > points_[i - 1].Inches));
    if (!ok)
      throw ArithmeticFault(messages::kTablePointLead + std::to_string(i + 1) +
                            messages::kTablePointText);
  }
}

double DepthDurationTable::Depth(double minutes) const {
  Result(minutes);
  if (!Covers(minutes, minutes))
    throw SubscriptFault(messages::kDurationLead + FaultNumber(minutes) +
                         messages::kDurationOutsideText + FaultNumber(ShortestMinutes()) + " to " +
                         FaultNumber(LongestMinutes()) + " min).");
  // The first row whose duration is not below `minutes`: its own depth when the durations match,
  // otherwise the upper neighbour of the interval that holds `minutes`.
  const auto upper =
      std::lower_bound(points_.begin(), points_.end(), minutes,
                       [](const DepthDuration& p, double m) { return p.Minutes < m; });
  if (upper->Minutes == minutes)
    return upper->Inches;
  const DepthDuration& lo = *(upper - 1);
  const DepthDuration& hi = *upper;
  // Logarithms of positive finite numbers lie within +-745, so no step below can overflow, and
  // the duration step is never zero (durations strictly increase).
  const double lnLo = std::log(lo.Minutes);
  const double slope = (std::log(hi.Inches) - std::log(lo.Inches)) / (std::log(hi.Minutes) - lnLo);
  const double depth = std::exp(std::log(lo.Inches) + (std::log(minutes) - lnLo) * slope);
  // Rounding may land a hair outside the neighbours' depths; keep the table monotonic.
  return std::clamp(depth, lo.Inches, hi.Inches);
}

double DepthDurationTable::Intensity(double minutes) const {
  return Div(Mul(Depth(minutes), 60), minutes);
}

bool DepthDurationTable::Covers(double from, double to) const {
  return ShortestMinutes() <= from && from <= to && to <= LongestMinutes();
}

}  // namespace rh
