// The rating of a run's pond as a CSV table: the stage-storage-outflow rows the run is routed
// through, with the flow of each outlet device beside them.
#pragma once

#include <string>

#include "engine/Pond.h"
#include "platform/Drawing.h"

namespace rh {

// The header stage_ft,storage_acft,outflow_cfs, then for a pond designed from its outlets one
// column a device (its flow times its count, before the barrel's cap: NAME_cfs, or its type and
// position) and barrel_capacity_cfs when it has a barrel; then one line a row, numbers in the
// plain form, lines ended by a line feed. A pond that came as a table gives its own rows.
std::string PondRatingCsv(const TablePond& pond);

// The rating drawn at `width` x `height` pixels: the stage up the left, against the storage in
// the left panel and the outflow in the right one, each panel's range under it.
Drawing PondRatingChart(const PondTable& table, double width, double height);

}  // namespace rh
