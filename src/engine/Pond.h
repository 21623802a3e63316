// Level-pool routing of a run's hydrograph through a detention pond: the storage-indication
// (modified Puls) method on a stage-storage-outflow table.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Hydrograph.h"

namespace rh {

// Routing goes on at most this long after the inflow has ended: 10 days.
constexpr double kMaxRoutingAfterInflowMinutes = 14400.0;
// The pond has drawn down once its storage falls to the dead storage plus this share of the
// maximum storage above the dead storage.
constexpr double kDrainedShare = 0.01;

// One row of a pond's table.
struct PondRow {
  double StageFeet = 0;        // water surface (may be an elevation)
  double StorageAcreFeet = 0;  // measured from the first row
  double OutflowCfs = 0;       // through every outlet at this stage
};

// A stage-storage-outflow table: at least two rows; stage and storage strictly increase, outflow
// never decreases, every value is finite and >= 0, and the first row's storage and outflow are 0
// (the empty pond at its lowest outlet). Between rows, outflow and stage are linear in storage.
class PondTable {
 public:
  // Throws ArithmeticFault when `rows` break any of the rules above (the reader of pond files
  // refuses such tables first, naming the line).
  explicit PondTable(std::vector<PondRow> rows);
  const std::vector<PondRow>& Rows() const { return rows_; }
  // The top of the pond: the last row's stage, ft.
  double TopStageFeet() const { return rows_.back().StageFeet; }
  // The storage no outlet releases: at the last of the leading rows whose outflow is 0, ac-ft.
  double DeadStorageAcreFeet() const { return deadStorage_; }

 private:
  std::vector<PondRow> rows_;
  double deadStorage_ = 0;
};

struct DesignedPond;  // engine/PondDesign.h

// A run's pond: its table and what the outputs call it.
struct TablePond {
  PondTable Table;
  std::string File;  // the table's file, as given (what the outputs call it)
  std::string Path;  // where the table was read from (what outputs must never replace)
  // The shape and outlets the table was made from; none for a pond that came as a table.
  std::shared_ptr<const DesignedPond> Design;
};

// The pond's state at one time.
struct PondState {
  double Minutes = 0;
  double InflowCfs = 0;
  double OutflowCfs = 0;
  double StorageAcreFeet = 0;
  double StageFeet = 0;
  double OverflowCfs = 0;  // over the top in the step that ends here: its volume over the step
};

// What routing a run through a pond finds, without the states it steps through: the figures the
// summaries report, in full precision (rounding is for the outputs).
struct RoutingFigures {
  double InflowEndMinutes = 0;  // Tc x (index of the first zero ordinate after the last non-zero)

  double PeakInflowCfs = 0;
  double PeakInflowMinutes = 0;
  double PeakOutflowCfs = 0;  // the first step where it is reached
  double PeakOutflowMinutes = 0;
  double MaxStorageAcreFeet = 0;
  double MaxStageFeet = 0;
  double MaxStorageMinutes = 0;
  double EndMinutes = 0;  // the end of routing
  double TopStageFeet = 0;
  double DeadStorageAcreFeet = 0;
  // The drawdown: minutes from the first step of maximum storage to the first later step whose
  // storage is at or below the dead storage plus 1 % of the maximum above it; none when the pond
  // has not drawn down (it never released anything, or 10 days after the inflow it still held
  // more).
  std::optional<double> DrainMinutes;
  // Inflow the pond could not hold at its top went over the embankment: how much, its highest
  // rate (a step's volume over the step), from the start of the first such step to the end of
  // the last.
  bool Overtopped = false;
  double OverflowAcreFeet = 0;
  double OverflowPeakCfs = 0;
  double OverflowStartMinutes = 0;
  double OverflowEndMinutes = 0;

  // Sums of I1 + I2 and of O1 + O2 over the steps, cfs: each times dt / 2 is a volume.
  double InflowSumCfs = 0;
  double OutflowSumCfs = 0;
  // Volume balance, acre-feet: inflow = outflow + overflow + storage left at the end.
  double InflowAcreFeet = 0;
  double OutflowAcreFeet = 0;
  double StorageLeftAcreFeet = 0;
};

// What routing a run through a pond gives: its figures and every step.
struct PondRouting : RoutingFigures {
  long StepMinutes = 1;
  // The state at t = 0 and after every step, to the end of routing.
  std::vector<PondState> States;
};

// The longest whole number of minutes, dividing `tc` (minutes), for which 2 S / dt - O >= 0 at
// every row of `pond`; none when even one minute is too long for the pond's outlet (or `tc` is not
// a whole number from 1 to 2^53). ArithmeticFault when a row's 2 S / dt overflows.
std::optional<long> LongestRoutingStep(const PondTable& pond, double tc);

// True when a run whose time of concentration is `tc` minutes can be routed in steps of
// `stepMinutes`: a whole number of minutes, at least 1, that divides a whole Tc of at most 2^53.
bool RouteStepFits(double tc, long stepMinutes);

// Routes the hydrograph of `run` through `pond` with steps of `stepMinutes` (a whole number that
// divides Tc).
//
// The inflow is the run's ordinates as the listing shows them, at k x Tc minutes, linear between
// them and zero after them; it ends at the first zero ordinate after the last non-zero one. For
// each step from t1 to t2: N = I1 + I2 + 2 S1 / dt - O1 (cfs, S in cubic feet, dt in seconds), and
// S2 solves 2 S / dt + O(S) = N exactly within the pair of rows that holds it. When N rises above
// the top row's indication the pond stays at the top row, and the rest, ((I1 + I2) / 2 - (O1 +
// O2) / 2) dt - (S_top - S1), goes over the embankment. Routing stops at the first step at or
// after the end of the inflow by which the pond has drawn down, or has never released anything,
// or 10 days after the end of the inflow.
//
// Throws Refused when the step is too long for the outlet (the text names the longest step that
// is not), when routing would take more than a million steps, and for a negative ordinate.
// UsageError when the step is not a whole number of minutes, at least 1, that divides Tc.
// ArithmeticFault when a figure overflows.
PondRouting RoutePond(const Run& run, const PondTable& pond, long stepMinutes);

}  // namespace rh
