// The lines of the results list: the five inputs, a separator and one line per ordinate.
#pragma once

#include <string>
#include <vector>

#include "app/Init.h"

namespace rh {

// Lines for the run in `state` after ComputeHydrograph: OrdinateCount + 7 lines.
std::vector<std::string> BuildResultLines(const Init& state);

}  // namespace rh
