// The hydrograph as a two-column table of numbers, for spreadsheets and scripts.
#pragma once

#include <string>

#include "engine/Hydrograph.h"

namespace rh {

// CSV: the header "time_min,discharge_cfs", then one row "time,discharge" per ordinate, numbers in
// the plain form ("0.85", "12.7"), lines ended by a line feed.
std::string HydrographCsv(const Run& run);

// Tab-separated rows "time<TAB>discharge", one per ordinate, without a header and with lines ended
// by a line feed: pasted into a spreadsheet they fill two columns. A run routed through a pond adds
// the routed outflow (cfs, to 0.01), storage (ac-ft, to 0.0001) and stage (ft, to 0.001) at each
// ordinate's time, "time<TAB>inflow<TAB>outflow<TAB>storage<TAB>stage"; past the end of routing
// those three cells are empty.
std::string HydrographTsv(const Run& run);

}  // namespace rh
