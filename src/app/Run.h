// The run performed when the results screen loads, shared by the windowed program and the
// command line.
#pragma once

#include <string>
#include <vector>

#include "app/Init.h"

namespace rh {

// Computes the hydrograph from the run inputs in `state` and returns the results list lines.
// Faults from the computation reach the caller; the results are then not shown.
std::vector<std::string> ComputeResults(Init& state);

}  // namespace rh
