// Rainfall depth-duration tables (NOAA Atlas 14 precipitation-frequency estimates and the like):
// depths at a few durations, interpolated log-log in between.
#pragma once

#include <string>
#include <vector>

namespace rh {

// One row of a depth-duration table: the rainfall depth that falls in a duration.
struct DepthDuration {
  double Minutes;  // duration
  double Inches;   // depth
};

// A depth-duration table for one return period.
//
// Between two neighbouring table durations D1 < D2 (depths d1 < d2) the depth follows the straight
// line of a log-log plot, the way precipitation-frequency curves are drawn:
//   ln d = ln d1 + (ln D - ln D1) (ln d2 - ln d1) / (ln D2 - ln D1).
// A depth that follows a power law d = k D^a between the rows is reproduced to rounding.
//
// The table never extrapolates: a duration outside shortest..longest throws SubscriptFault. Like
// an ordinate index outside the hydrograph's arrays, it is a look-up beyond the end of the table,
// not an arithmetic failure; callers check Covers() first and refuse the run with a message.
class DepthDurationTable {
 public:
  // Points in order of strictly increasing duration (> 0) and strictly increasing depth (> 0),
  // all finite, at least two of them. Anything else throws ArithmeticFault: the log-log
  // interpolation would take the logarithm of a depth <= 0 or divide by a zero duration step.
  explicit DepthDurationTable(std::vector<DepthDuration> points);

  // Depth over `minutes`, inches: the table's own depth at a table duration, log-log in between.
  // Throws SubscriptFault outside the table and ArithmeticFault for a NaN or infinite duration.
  double Depth(double minutes) const;
  // Average intensity over `minutes`, in/hr: Depth x 60 / minutes. Throws as Depth does, and
  // ArithmeticFault when the quotient overflows.
  double Intensity(double minutes) const;
  // True when every duration from `from` to `to` (both included, from <= to) is in the table.
  bool Covers(double from, double to) const;

  const std::vector<DepthDuration>& Points() const { return points_; }
  double ShortestMinutes() const { return points_.front().Minutes; }
  double LongestMinutes() const { return points_.back().Minutes; }

 private:
  std::vector<DepthDuration> points_;
};

// A run's rainfall when it comes from a depth-duration table instead of the county chart: the table
// and what the outputs call it.
struct TableRainfall {
  DepthDurationTable Table;
  std::string File;  // the table's file, as given (what the outputs call it)
  std::string Ari;   // the return period chosen, years, as given ("" for a table without one)
  std::string Path;  // where the table was read from (what outputs must never replace)
  // Where the table's depths are for, as its file says ("" when it does not): the place's name
  // and coordinates from a NOAA Atlas 14 export's preamble.
  std::string Location{};
};

}  // namespace rh
