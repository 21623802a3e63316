#include "app/Run.h"

#include "engine/Hydrograph.h"
#include "output/ResultsListing.h"

namespace rh {

std::vector<std::string> ComputeResults(Init& state) {
  ComputeHydrograph(state);
  return BuildResultLines(state);
}

}  // namespace rh
