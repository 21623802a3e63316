// A routed run as an EPA SWMM 5 input file: the hydrograph as the external inflow of a storage
// node whose tabular area curve holds the rating's storage, drained by an outlet link whose
// tabular depth curve is the rating's outflow, to a free outfall. SWMM 5.2 runs it as it is.
#pragma once

#include <string>
#include <vector>

#include "engine/Hydrograph.h"
#include "engine/Pond.h"

namespace rh {

// One point of a SWMM curve: the depth above the storage node's invert (the table's first stage),
// ft, and the curve's value there. Both are the numbers the file prints, read back.
struct SwmmCurvePoint {
  double DepthFeet = 0;
  double Value = 0;
};

// The storage curve of `pond` as SWMM's [CURVES] STORAGE points: surface area, sq ft, against
// depth. SWMM integrates such a curve by the average-end-area rule, straight between points; the
// areas are chosen so that this gives the table's storage (x 43,560 cu ft) at the depth of every
// row. Every area is 0 or more and the depths rise strictly from 0 at the first row to the last
// row's; a point may sit halfway between two rows (see SwmmInput.cpp).
//
// Throws FileFault (its text follows "Cannot write FILE: ") when two stages are too close for
// any printed depth to tell apart.
std::vector<SwmmCurvePoint> SwmmStorageCurve(const PondTable& pond);

// The rating's outflow as SWMM's [CURVES] RATING points: cfs against depth, one a row.
std::vector<SwmmCurvePoint> SwmmRatingCurve(const PondTable& pond);

// The SWMM 5 input file of `run`, routed through its pond (`run.Inputs.Pond`, `run.Routing`):
// [TITLE] with the run and the program's peak outflow; [OPTIONS] in cfs with kinematic-wave
// routing (a storage node and its outlet are then routed level-pool, the storage-indication way)
// in 1-second steps from 01/01/2000 00:00 to the end of the program's routing; the storage node
// "Pond" at the rating's first stage, as deep as the rating, with the storage curve "PondArea";
// the outlet "Outlet" with the TABULAR/DEPTH curve "PondRating" to the free outfall "Outfall";
// the time series "Hydrograph", the ordinates at k x Tc to the first zero after the last
// non-zero one (as the routing takes them), as the pond's FLOW inflow. Lines end in a line feed.
//
// Throws FileFault naming `path` for a run without a pond or routing, for stages too close apart,
// and for a routing that would end past SWMM's calendar.
std::string SwmmInputText(const Run& run, const std::string& path);

}  // namespace rh
