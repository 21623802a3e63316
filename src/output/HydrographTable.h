// The hydrograph as a two-column table of numbers, for spreadsheets and scripts.
#pragma once

#include <string>

#include "engine/Hydrograph.h"

namespace rh {

// CSV: the header "time_min,discharge_cfs", then one row "time,discharge" per ordinate, numbers in
// the plain form ("0.85", "12.7"), lines ended by a line feed.
std::string HydrographCsv(const Run& run);

// Tab-separated rows "time<TAB>discharge", one per ordinate, without a header and with lines ended
// by a line feed: pasted into a spreadsheet they fill two columns.
std::string HydrographTsv(const Run& run);

}  // namespace rh
