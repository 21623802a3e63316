#include "engine/Pond.h"

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

constexpr double kSecondsPerMinute = 60.0;
// A routing never takes more steps than this (about 40 MB of states); a step that would is refused.
constexpr double kMostRoutingSteps = 1e6;
// Times of concentration above this many minutes are not whole numbers one can divide (2^53).
constexpr double kLongestWholeTc = 9007199254740992.0;

bool Whole(double value) {
  return std::isfinite(value) && value == std::floor(value);
}

// 2 / dt in cfs per acre-foot of storage: 2 x 43,560 cu ft over the step in seconds. The storage
// indication of a state is then S x this + O, and 2 S / dt - O is S x this - O.
double IndicationPerAcreFoot(double stepMinutes) {
  return Div(2 * kCubicFeetPerAcreFoot, Mul(stepMinutes, kSecondsPerMinute));
}

// True when 2 S / dt - O >= 0 at every row: the step is not too long for the pond's outlet. The
// rows are tested unchecked; at the first that fails or is not a number they are tested again
// with checked steps, to raise the fault those meet first.
bool StepFits(const PondTable& pond, double stepMinutes) {
  const double perAcreFoot = IndicationPerAcreFoot(stepMinutes);
  for (const PondRow& row : pond.Rows()) {
    const double left = row.StorageAcreFeet * perAcreFoot - row.OutflowCfs;
    if (!(left >= 0) || NonFinite(left))
      return std::all_of(pond.Rows().begin(), pond.Rows().end(), [&](const PondRow& r) {
        return Sub(Mul(r.StorageAcreFeet, perAcreFoot), r.OutflowCfs) >= 0;
      });
  }
  return true;
}

// The storage indication 2 S / dt + O of each row (cfs), and of each pair of neighbouring rows the
// reciprocal of its rise: inside a pair, storage, outflow and stage are linear in the indication.
// Worked out unchecked, and again with checked steps in the order of the pairs when a figure is not
// a number, to raise the fault those meet first.
void Indications(const std::vector<PondRow>& rows, double perAcreFoot,
                 std::vector<double>& indication, std::vector<double>& perIndication) {
  const std::size_t count = rows.size();
  indication.resize(count);
  perIndication.resize(count - 1);
  bool bad = false;
  for (std::size_t i = 0; i < count; ++i) {
    indication[i] = rows[i].StorageAcreFeet * perAcreFoot + rows[i].OutflowCfs;
    bad |= NonFinite(indication[i]);
  }
  for (std::size_t i = 0; i + 1 < count; ++i) {
    perIndication[i] = 1 / (indication[i + 1] - indication[i]);
    bad |= NonFinite(perIndication[i]);
  }
  if (!bad)
    return;
  const auto at = [&](const PondRow& row) {
    return Add(Mul(row.StorageAcreFeet, perAcreFoot), row.OutflowCfs);
  };
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const double low = at(rows[i]);
    Div(1, Sub(at(rows[i + 1]), low));
  }
}

// Everything a routing needs, worked out once before its steps.
struct Setup {
  const std::vector<PondRow>* Rows = nullptr;
  std::vector<double> Indication;     // cfs, each row's 2 S / dt + O
  std::vector<double> PerIndication;  // 1 / the rise of the indication from each row to the next
  double PerAcreFoot = 0;             // 2 / dt, cfs per acre-foot
  double TopStage = 0;                // ft, the table's last row
  long StepMinutes = 1;
  // The inflow: ordinate i at step i x StepsPerOrdinate, rising by InflowRise[i] a step after it.
  const OrdinateArray* Ordinates = nullptr;
  std::vector<double> InflowRise;
  long StepsPerOrdinate = 1;
  long InflowSteps = 0;    // the step at which the inflow ends
  long LastSteps = 0;      // the step 10 days after that
  double DeadStorage = 0;  // ac-ft, what no outlet releases
};

// The steps of the routing into `out` (States and figures). Each step: N = I1 + I2 + 2 S1 / dt -
// O1; the pair of rows whose indications hold N, found by walking from the previous step's pair
// (the pond rises and falls a little at a time); S2, O2 and the stage at N's place between them,
// each the lower row's plus N's share of the rise to the upper.
// With PlainSteps nothing is checked and the return value says whether a figure is not a number,
// so that the caller runs the checked steps, which raise the fault.
template <typename S>
bool RouteSteps(const Setup& setup, PondRouting& out) {
  const std::vector<PondRow>& rows = *setup.Rows;
  const double* indication = setup.Indication.data();
  const OrdinateArray& ordinates = *setup.Ordinates;
  const long last = static_cast<long>(rows.size()) - 2;  // the top pair
  const double step = static_cast<double>(setup.StepMinutes);

  out.States.clear();
  out.States.push_back({0, ordinates[0], 0, 0, rows[0].StageFeet});
  double inflow = ordinates[0];  // I1, cfs
  double outflow = 0;            // O1, cfs
  double storage = 0;            // S1, ac-ft
  double stage = rows[0].StageFeet;
  double inflowSum = 0;  // sums of I1 + I2 and O1 + O2 over the steps, cfs
  double outflowSum = 0;
  PondRouting& f = out;  // the figures
  f.PeakInflowCfs = inflow;
  f.PeakInflowMinutes = 0;
  f.PeakOutflowCfs = 0;
  f.PeakOutflowMinutes = 0;
  f.MaxStorageAcreFeet = 0;
  f.MaxStageFeet = stage;
  f.MaxStorageMinutes = 0;
  f.DrainMinutes.reset();
  f.Overtopped = false;
  f.OverflowAcreFeet = 0;
  f.OverflowPeakCfs = 0;
  f.OverflowStartMinutes = 0;
  f.OverflowEndMinutes = 0;
  const PondRow& belowTop = rows[rows.size() - 2];
  const PondRow& top = rows.back();
  const double topIndication = indication[rows.size() - 1];
  double overflowSum = 0;  // the indication left over, summed over the steps, cfs
  // The first step after the maximum storage so far by which the pond has drawn down (minutes);
  // negative for none yet.
  double drawnDownAt = -1;

  long j = 0;         // the pair of rows of the last step
  long ordinate = 0;  // the inflow's ordinate at or before this step, and the steps since it
  long sinceOrdinate = 0;
  for (long k = 1;; ++k) {
    if (++sinceOrdinate == setup.StepsPerOrdinate) {
      sinceOrdinate = 0;
      ++ordinate;
    }
    const double minutes = static_cast<double>(k) * step;
    const double nextInflow =
        k < setup.InflowSteps ? S::Add(ordinates[ordinate],
                                       S::Mul(static_cast<double>(sinceOrdinate),
                                              setup.InflowRise[static_cast<std::size_t>(ordinate)]))
                              : 0.0;
    const double n =
        S::Sub(S::Add(S::Add(inflow, nextInflow), S::Mul(storage, setup.PerAcreFoot)), outflow);
    if (NonFinite(n))
      return true;
    double nextStorage = 0;
    double nextOutflow = 0;
    double overflow = 0;  // cfs, over the top in this step
    if (n > topIndication) {
      // The pond stands at its top; what it cannot hold goes over the embankment.
      j = last;
      nextStorage =
          S::Add(belowTop.StorageAcreFeet, S::Sub(top.StorageAcreFeet, belowTop.StorageAcreFeet));
      nextOutflow = S::Add(belowTop.OutflowCfs, S::Sub(top.OutflowCfs, belowTop.OutflowCfs));
      stage = S::Add(belowTop.StageFeet, S::Sub(top.StageFeet, belowTop.StageFeet));
      const double left = S::Sub(n, topIndication);
      overflow = left / 2;
      overflowSum = S::Add(overflowSum, left);
      if (!f.Overtopped)
        f.OverflowStartMinutes = minutes - step;
      f.Overtopped = true;
      f.OverflowEndMinutes = minutes;
      f.OverflowPeakCfs = std::max(f.OverflowPeakCfs, overflow);
    } else {
      while (n > indication[j + 1])
        ++j;
      while (j > 0 && n < indication[j])
        --j;
      const auto low = static_cast<std::size_t>(j);
      const PondRow& lo = rows[low];
      const PondRow& hi = rows[low + 1];
      const double share = S::Mul(S::Sub(n, indication[low]), setup.PerIndication[low]);
      nextStorage =
          S::Add(lo.StorageAcreFeet, S::Mul(share, S::Sub(hi.StorageAcreFeet, lo.StorageAcreFeet)));
      nextOutflow = S::Add(lo.OutflowCfs, S::Mul(share, S::Sub(hi.OutflowCfs, lo.OutflowCfs)));
      stage = S::Add(lo.StageFeet, S::Mul(share, S::Sub(hi.StageFeet, lo.StageFeet)));
    }
    out.States.push_back({minutes, nextInflow, nextOutflow, nextStorage, stage, overflow});

    inflowSum = S::Add(inflowSum, S::Add(inflow, nextInflow));
    outflowSum = S::Add(outflowSum, S::Add(outflow, nextOutflow));
    inflow = nextInflow;
    outflow = nextOutflow;
    storage = nextStorage;
    // The first of equal maxima: only a higher value moves them.
    if (inflow > f.PeakInflowCfs) {
      f.PeakInflowCfs = inflow;
      f.PeakInflowMinutes = minutes;
    }
    if (outflow > f.PeakOutflowCfs) {
      f.PeakOutflowCfs = outflow;
      f.PeakOutflowMinutes = minutes;
    }
    if (storage > f.MaxStorageAcreFeet) {
      f.MaxStorageAcreFeet = storage;
      f.MaxStageFeet = stage;
      f.MaxStorageMinutes = minutes;
      drawnDownAt = -1;
    } else if (drawnDownAt < 0 &&
               storage <=
                   S::Add(setup.DeadStorage,
                          S::Mul(kDrainedShare, S::Sub(f.MaxStorageAcreFeet, setup.DeadStorage)))) {
      drawnDownAt = minutes;
    }

    if (k >= setup.InflowSteps) {
      const bool released = f.PeakOutflowCfs > 0;
      const bool drawnDown = released && drawnDownAt >= 0;
      if (!released || drawnDown || k >= setup.LastSteps) {
        f.EndMinutes = minutes;
        if (drawnDown)
          f.DrainMinutes = S::Sub(drawnDownAt, f.MaxStorageMinutes);
        break;
      }
    }
  }
  // Continuity of the step: S2 - S1 = (I1 + I2) dt / 2 - (O1 + O2) dt / 2.
  const double halfStep = step * kSecondsPerMinute / 2 / kCubicFeetPerAcreFoot;  // ac-ft per cfs
  f.InflowSumCfs = inflowSum;
  f.OutflowSumCfs = outflowSum;
  f.InflowAcreFeet = S::Mul(inflowSum, halfStep);
  f.OutflowAcreFeet = S::Mul(outflowSum, halfStep);
  f.StorageLeftAcreFeet = storage;
  f.OverflowAcreFeet = S::Mul(overflowSum, halfStep);
  return NonFinite(f.InflowAcreFeet) || NonFinite(f.OutflowAcreFeet) ||
         NonFinite(f.OverflowAcreFeet);
}

}  // namespace

PondTable::PondTable(std::vector<PondRow> rows) : rows_(std::move(rows)) {
  if (rows_.size() < 2)
    throw ArithmeticFault(messages::kPondTooFewRowsFault);
  if (rows_.front().StorageAcreFeet != 0 || rows_.front().OutflowCfs != 0)
    throw ArithmeticFault(messages::kPondFirstRowFault);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const PondRow& row = rows_[i];
    const auto valid = [](double v) { return std::isfinite(v) && v >= 0; };
    bool ok = valid(row.StageFeet) && valid(row.StorageAcreFeet) && valid(row.OutflowCfs);
    if (ok && i > 0) {
      const PondRow& below = rows_[i - 1];
      ok = row.StageFeet > below.StageFeet && row.StorageAcreFeet > below.StorageAcreFeet &&
           row.OutflowCfs >= below.OutflowCfs;
    }
    if (!ok)
      throw ArithmeticFault(messages::kPondRowLead + std::to_string(i + 1) +
                            messages::kPondRowFault);
  }
  for (std::size_t i = 1; i < rows_.size() && rows_[i].OutflowCfs == 0; ++i)
    deadStorage_ = rows_[i].StorageAcreFeet;
}

std::optional<long> LongestRoutingStep(const PondTable& pond, double tc) {
  if (!(tc >= 1 && tc <= kLongestWholeTc && Whole(tc)))
    return std::nullopt;
  // dt <= 2 S / O at every row that releases water, in minutes; then checked with the routing's
  // own arithmetic, which may differ from this bound in the last bit.
  double limit = tc;
  for (const PondRow& row : pond.Rows()) {
    if (row.OutflowCfs > 0)
      limit = std::min(limit, std::floor(2 * row.StorageAcreFeet * kCubicFeetPerAcreFoot /
                                         row.OutflowCfs / kSecondsPerMinute));
  }
  while (limit >= 1 && !StepFits(pond, limit))
    --limit;
  while (limit + 1 <= tc && StepFits(pond, limit + 1))
    ++limit;
  if (limit < 1)
    return std::nullopt;
  // The longest divisor of Tc up to the limit, from both ends at once: down from the limit, and
  // up through the quotients Tc / m from Tc / limit; both meet the divisors longest first, so the
  // first one either finds is the answer.
  for (double down = limit, up = std::ceil(tc / limit);; --down, ++up) {
    if (std::fmod(tc, down) == 0)
      return static_cast<long>(down);
    if (std::fmod(tc, up) == 0)
      return static_cast<long>(tc / up);
  }
}

bool RouteStepFits(double tc, long stepMinutes) {
  return stepMinutes >= 1 && tc <= kLongestWholeTc && Whole(tc) &&
         std::fmod(tc, static_cast<double>(stepMinutes)) == 0;
}

PondRouting RoutePond(const Run& run, const PondTable& pond, long stepMinutes) {
  const RunResult& r = run.Result;
  const double tc = run.Inputs.TimeOfConcentration;
  const double step = static_cast<double>(stepMinutes);
  if (!RouteStepFits(tc, stepMinutes))
    throw UsageError(std::string(messages::kRouteStepUsageText) + " (" + FaultNumber(tc) +
                     " min), not " + std::to_string(stepMinutes) + " min");

  // The inflow ends at the first zero ordinate after the last one that is not zero.
  long lastFlowing = -1;
  for (long i = 0; i <= r.OrdinateCount; ++i) {
    const double q = r.Hydrograph(i);
    if (q < 0)
      throw Refused(messages::kPondInflowTitle,
                    messages::kPondInflowLead + FaultNumber(tc * static_cast<double>(i)) +
                        " min is " + FaultNumber(q) + messages::kPondInflowText,
                    RunEntry::PondTable);
    if (q != 0)
      lastFlowing = i;
  }
  const long inflowEnd = lastFlowing + 1;  // an ordinate index (the tail holds at least one)
  const double stepsPerOrdinate = tc / step;
  const double inflowSteps = stepsPerOrdinate * static_cast<double>(inflowEnd);
  const double afterSteps = std::ceil(kMaxRoutingAfterInflowMinutes / step);
  if (inflowSteps + afterSteps > kMostRoutingSteps)
    throw Refused(
        messages::kRouteStepTitle,
        messages::kRouteStepCountLead + std::to_string(stepMinutes) + " min would take more than " +
            std::to_string(static_cast<long>(kMostRoutingSteps)) + messages::kRouteStepCountText,
        RunEntry::PondTable);
  if (!StepFits(pond, step)) {
    const std::optional<long> longest = LongestRoutingStep(pond, tc);
    throw Refused(
        messages::kRouteStepTitle,
        messages::kRouteStepLongLead + std::to_string(stepMinutes) + messages::kRouteStepLongText +
            (longest ? messages::kRouteStepLongestText + std::to_string(*longest) + " min."
                     : std::string(messages::kRouteStepNoneText)),
        RunEntry::PondTable);
  }

  Setup setup;
  setup.StepMinutes = stepMinutes;
  setup.PerAcreFoot = IndicationPerAcreFoot(step);
  const std::vector<PondRow>& rows = pond.Rows();
  setup.TopStage = rows.back().StageFeet;
  setup.DeadStorage = pond.DeadStorageAcreFeet();
  setup.Rows = &rows;
  Indications(rows, setup.PerAcreFoot, setup.Indication, setup.PerIndication);
  setup.Ordinates = &r.Hydrograph;
  setup.StepsPerOrdinate = static_cast<long>(stepsPerOrdinate);
  setup.InflowSteps = static_cast<long>(inflowSteps);
  setup.LastSteps = setup.InflowSteps + static_cast<long>(afterSteps);
  // Past the last ordinate the inflow is zero.
  const auto ordinate = [&](long i) { return i <= r.OrdinateCount ? r.Hydrograph(i) : 0.0; };
  setup.InflowRise.resize(static_cast<std::size_t>(inflowEnd));
  for (long i = 0; i < inflowEnd; ++i)
    setup.InflowRise[static_cast<std::size_t>(i)] =
        Div(Sub(ordinate(i + 1), ordinate(i)), stepsPerOrdinate);

  PondRouting routing;
  routing.StepMinutes = stepMinutes;
  routing.InflowEndMinutes = Mul(tc, static_cast<double>(inflowEnd));
  routing.TopStageFeet = setup.TopStage;
  routing.DeadStorageAcreFeet = setup.DeadStorage;
  // Room for the inflow and twice as long after it, where most ponds have drained; the table grows
  // for the others.
  routing.States.reserve(
      static_cast<std::size_t>(std::min(setup.LastSteps, 3 * setup.InflowSteps + 64)) + 1);
  if (RouteSteps<PlainSteps>(setup, routing))
    RouteSteps<CheckedSteps>(setup, routing);
  return routing;
}

}  // namespace rh
