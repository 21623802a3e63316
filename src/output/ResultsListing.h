// The lines of the results list: the five inputs, a separator and one line per ordinate (and the
// pond's figures after them).
#pragma once

#include <string>
#include <vector>

#include "engine/Hydrograph.h"

namespace rh {

// The results list of `run`: OrdinateCount + 7 lines, then the pond's section when the run is
// routed through one.
std::vector<std::string> BuildResultLines(const Run& run);

// The same lines as one text, each ended by a line feed: the companion's standard output and the
// listing files of a batch.
std::string ListingText(const Run& run);

}  // namespace rh
