// Which entry of a run a warning is about, for front ends that show a warning beside its entry.
#pragma once

#include <string>

#include "app/run/PreparedRun.h"

namespace rh {

enum class RunEntry {
  None,  // the run as a whole
  TimeOfConcentration,
  SixHourRainfall,
  BasinArea,
  RunoffCoefficient,
  PeakDischarge,
  DeckPath,
  RainfallTable,
  ReturnPeriod,
  PondTable,
};

// The entry the warning titled `title` names. The incomplete-entries warning names the first
// blank entry, in screen order, of those the run reads with `choices` (no 6-hour rainfall with a
// rainfall table, no peak discharge with the chart peak).
RunEntry WarningEntry(const std::string& title, const RunEntries& entries,
                      const RunChoices& choices);

}  // namespace rh
