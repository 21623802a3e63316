#include "output/PondReport.h"

#include <cmath>

#include "engine/Checked.h"
#include "output/TextForms.h"

namespace rh {

double RoundedHalfUp(double value, double scale) {
  constexpr double kWhole = 4503599627370496.0;  // 2^52: from here up every double is whole
  if (!(std::fabs(value * scale) < kWhole))
    return value;
  return checked::RoundHalfUp(value, scale);
}

const PondState* RoutedStateAt(const PondRouting& routing, double minutes) {
  if (routing.StepMinutes <= 0 || routing.States.empty())
    return nullptr;
  const double index = std::round(minutes / static_cast<double>(routing.StepMinutes));
  if (!(index >= 0 && index < static_cast<double>(routing.States.size())))
    return nullptr;
  const PondState& state = routing.States[static_cast<std::size_t>(index)];
  return std::fabs(state.Minutes - minutes) < 1e-6 ? &state : nullptr;
}

std::vector<std::string> PondLines(const Run& run) {
  std::vector<std::string> lines;
  if (!run.Routing)
    return lines;
  const PondRouting& p = *run.Routing;
  // "LABEL  12.3 UNIT AT  250 MIN."
  const auto figure = [&](const char* label, double value, double scale, const char* unit,
                          double minutes) {
    std::string line = label;
    AppendStrForm(line, RoundedHalfUp(value, scale));
    line += unit;
    line += " AT ";
    AppendStrForm(line, minutes);
    line += " MIN.";
    lines.push_back(std::move(line));
  };
  lines.emplace_back(" ");
  lines.push_back("POND TABLE " + (run.Inputs.Pond ? run.Inputs.Pond->File : std::string()));
  lines.push_back("ROUTING STORAGE INDICATION (MODIFIED PULS), STEP " +
                  StrForm(static_cast<double>(p.StepMinutes)) + " MIN.");
  figure("PEAK INFLOW ", p.PeakInflowCfs, kFigureFlowScale, " CFS", p.PeakInflowMinutes);
  figure("PEAK OUTFLOW ", p.PeakOutflowCfs, kFigureFlowScale, " CFS", p.PeakOutflowMinutes);
  figure("MAXIMUM STORAGE ", p.MaxStorageAcreFeet, kFigureStorageScale, " AC-FT",
         p.MaxStorageMinutes);
  figure("MAXIMUM STAGE ", p.MaxStageFeet, kFigureStageScale, " FT", p.MaxStorageMinutes);
  if (p.DrainMinutes)
    lines.push_back("DRAIN TIME " + StrForm(*p.DrainMinutes) + " MIN.");
  else if (p.PeakOutflowCfs > 0)
    lines.emplace_back("DRAIN TIME  NONE, NOT DRAINED 72 HOURS AFTER THE INFLOW");
  else
    lines.emplace_back("DRAIN TIME  NONE, THE POND RELEASES NOTHING");
  return lines;
}

std::string PondCsv(const PondRouting& routing) {
  std::string text = "time_min,inflow_cfs,outflow_cfs,storage_acft,stage_ft\n";
  text.reserve(text.size() + routing.States.size() * 40);
  for (const PondState& s : routing.States) {
    AppendPlainNumber(text, s.Minutes);
    text += ',';
    AppendPlainNumber(text, RoundedHalfUp(s.InflowCfs, kRowFlowScale));
    text += ',';
    AppendPlainNumber(text, RoundedHalfUp(s.OutflowCfs, kRowFlowScale));
    text += ',';
    AppendPlainNumber(text, RoundedHalfUp(s.StorageAcreFeet, kRowStorageScale));
    text += ',';
    AppendPlainNumber(text, RoundedHalfUp(s.StageFeet, kRowStageScale));
    text += '\n';
  }
  return text;
}

}  // namespace rh
