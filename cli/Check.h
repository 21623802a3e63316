// The check block printed after the listing: the volume and peak check with its arithmetic.
#pragma once

#include <string>
#include <vector>

#include "output/VolumeCheck.h"

namespace rh::cli {

// The check block's lines, each figure shown with the numbers it comes from, then a warning line
// for each figure outside its tolerance.
std::vector<std::string> CheckLines(const VolumeCheck& check);

// A number with `decimals` digits after the point, "." as the point, no padding.
std::string Fixed(double value, int decimals);

}  // namespace rh::cli
