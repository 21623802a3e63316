// The outputs of a run routed through a pond: its section of the listing and its routed table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Hydrograph.h"
#include "engine/Pond.h"

namespace rh {

// Decimals the pond's figures are shown with (half-up rounding): flows to 0.1 cfs, storage to
// 0.001 ac-ft, stage to 0.01 ft; the routed table's rows one more decimal each.
constexpr double kFigureFlowScale = 10;
constexpr double kFigureStorageScale = 1000;
constexpr double kFigureStageScale = 100;
constexpr double kRowFlowScale = 100;
constexpr double kRowStorageScale = 10000;
constexpr double kRowStageScale = 1000;

// A whole number of minutes as hours and minutes: 595 gives {9, 55}.
struct HoursMinutes {
  double Hours = 0;
  double Minutes = 0;
};
HoursMinutes SplitHours(double minutes);

// The drawdown as the study shows it: "9 h 55 min", "does not drain" (within 10 days after the
// inflow) or "releases nothing".
std::string DrawdownText(const PondRouting& routing);

// What each outlet device of a designed pond passes at the routed peak outflow: its name (the
// rating column's, without "_cfs"), its type in capitals and its flow times its count, before the
// barrel's cap; and the barrel's capacity there. Empty for a pond that came as a table.
struct OutletsAtPeak {
  struct Device {
    std::string Name;
    const char* Type = "";
    double Cfs = 0;
  };
  std::vector<Device> Devices;
  std::optional<double> BarrelCfs;
};
OutletsAtPeak OutletFlowsAtPeak(const Run& run);

// The pond's section of the listing, after a blank line: the table's name, the method and the
// step, then the peak inflow, the peak outflow, the maximum storage and stage, each with its time,
// the top and the freeboard, each outlet's flow at the peak, the drawdown, and the overtopping
// when the pond overtops. Empty for a run without routing.
std::vector<std::string> PondLines(const Run& run);

// The routed state at `minutes` (a whole number of routing steps from t = 0); null when routing
// ended before it or `minutes` falls between steps.
const PondState* RoutedStateAt(const PondRouting& routing, double minutes);

// The routed table: the header "time_min,inflow_cfs,outflow_cfs,storage_acft,stage_ft", then the
// state at t = 0 and after every step to the end of routing, flows to 0.01 cfs, storage to
// 0.0001 ac-ft and stage to 0.001 ft, numbers in the plain form, lines ended by a line feed. A
// pond designed from its outlets adds each device's flow (its rating column's name) and
// overflow_cfs, the flow over the top; a table pond adds overflow_cfs when it overtops.
std::string PondCsv(const Run& run);

}  // namespace rh
