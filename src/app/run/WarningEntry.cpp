#include "app/run/WarningEntry.h"

#include "core/Faults.h"

namespace rh {

RunEntry WarningEntry(const std::string& title, const RunEntries& entries,
                      const RunChoices& choices) {
  const std::string entryTitle = messages::kEntryTitle;
  const struct {
    RunEntry entry;
    const std::string* text;  // as typed
    const char* name;         // in the warnings' titles
    bool read;
  } boxes[] = {
      {RunEntry::TimeOfConcentration, &entries.TimeOfConcentration, messages::kTcEntry, true},
      {RunEntry::SixHourRainfall, &entries.SixHourRainfall, messages::kRainEntry,
       !choices.Rainfall},
      {RunEntry::BasinArea, &entries.BasinArea, messages::kAreaEntry, true},
      {RunEntry::RunoffCoefficient, &entries.RunoffCoefficient, messages::kCoefEntry, true},
      {RunEntry::PeakDischarge, &entries.PeakDischarge, messages::kPeakEntry, !choices.ChartPeak},
  };
  if (title == messages::kIncompleteTitle) {
    for (const auto& box : boxes) {
      if (box.read && TrimSpaces(*box.text).empty())
        return box.entry;
    }
    return RunEntry::None;
  }
  for (const auto& box : boxes) {
    if (title == entryTitle + box.name)
      return box.entry;
  }
  if (title == messages::kRainfallTableTitle)
    return RunEntry::RainfallTable;
  if (title == messages::kReturnPeriodTitle)
    return RunEntry::ReturnPeriod;
  if (title == messages::kDeckFaultTitle)
    return RunEntry::DeckPath;
  // The pond's table, its routing and the step its outlet allows.
  if (title == messages::kPondTableTitle || title == messages::kPondInflowTitle ||
      title == messages::kRouteStepTitle)
    return RunEntry::PondTable;
  return RunEntry::None;
}

}  // namespace rh
