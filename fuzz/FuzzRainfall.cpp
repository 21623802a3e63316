// The rainfall table reader over arbitrary files: a refusal or tables that interpolate sensibly.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "engine/Rainfall.h"

namespace {

// Every accepted table rises strictly, gives its own depths at its rows and finite depths that
// never fall at the midpoints between them.
void CheckTable(const rh::DepthDurationTable& table) {
  const std::vector<rh::DepthDuration>& points = table.Points();
  double lastDepth = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const rh::DepthDuration& p = points[i];
    if (!(p.Minutes > 0 && p.Inches > 0 && std::isfinite(p.Minutes) && std::isfinite(p.Inches)))
      __builtin_trap();
    if (i > 0) {
      const rh::DepthDuration& before = points[i - 1];
      if (!(p.Minutes > before.Minutes && p.Inches > before.Inches))
        __builtin_trap();
      const double middle = table.Depth(before.Minutes + (p.Minutes - before.Minutes) / 2);
      if (!std::isfinite(middle) || middle < lastDepth || middle > p.Inches)
        __builtin_trap();
    }
    if (table.Depth(p.Minutes) != p.Inches)
      __builtin_trap();
    lastDepth = p.Inches;
    try {
      table.Intensity(p.Minutes);  // may overflow for a duration near zero, nothing else
    } catch (const rh::ArithmeticFault&) {
    }
  }
  if (!table.Covers(table.ShortestMinutes(), table.LongestMinutes()))
    __builtin_trap();
  try {
    rh::CoverageProblem(table, "fuzz.csv", table.ShortestMinutes());
  } catch (const rh::Fault&) {
    // A first duration so short that its block count does not fit the hydrograph.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const rh::RainfallTables tables = rh::ReadRainfallTables(text, "fuzz.csv");
    const std::vector<double>& years = tables.ReturnPeriods();
    if (years.size() <= 1)
      CheckTable(tables.Table(std::nullopt));
    for (const double y : years)
      CheckTable(tables.Table(y));
  } catch (const rh::RainfallRefusal&) {
  }
  return 0;
}
