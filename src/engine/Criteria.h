// A detention design judged against its criteria: the routed release against the allowable, the
// freeboard left under the top of the pond, the drawdown time, and overtopping. Every comparison
// is made in full precision; rounding is for the outputs.
#pragma once

#include <optional>

#include "engine/Hydrograph.h"

namespace rh {

// A criterion's verdict; NotSet when the study does not ask for it.
enum class Verdict { NotSet, Pass, Fail };

// The limits a study sets (none: not asked for).
struct CriteriaLimits {
  std::optional<double> AllowableCfs;
  std::optional<double> FreeboardFeet;
  std::optional<double> DrawdownMaxMinutes;
};

// What one storm's runs give.
struct PeriodFigures {
  std::optional<double> ExistingPeakCfs;
  double ProposedPeakCfs = 0;
  bool Routed = false;       // through a pond; the figures below are the pond's
  double RoutedPeakCfs = 0;  // the release: the pond's peak outflow, or the proposed peak
  double MaxStageFeet = 0;
  double TopFeet = 0;
  std::optional<double> DrawdownMinutes;  // none: the pond does not drain
  bool Overtopped = false;
  double FreeboardFeet() const { return TopFeet - MaxStageFeet; }
};

struct PeriodVerdicts {
  Verdict Release = Verdict::NotSet;
  Verdict Freeboard = Verdict::NotSet;
  Verdict Drawdown = Verdict::NotSet;
  Verdict Overtopping = Verdict::NotSet;  // set for every routed run: overtopping always fails
  Verdict Result = Verdict::NotSet;       // Fail when any fails, Pass when any is set and none does
};

// The verdicts of `figures` against `limits`: the release passes at or below the allowable, the
// freeboard at or above its least, the drawdown at or below its longest (a pond that does not
// drain fails it); a routed run that overtops fails.
PeriodVerdicts Judge(const PeriodFigures& figures, const CriteriaLimits& limits);

// The volume of the hydrograph of `result` (ordinates every `tcMinutes`, straight between them)
// above `allowableCfs`: the integral of max(0, q(t) - Q) dt, exactly, in acre-feet.
double StorageAboveAcreFeet(const RunResult& result, double tcMinutes, double allowableCfs);

}  // namespace rh
