#include "output/PondReport.h"

#include <cmath>

#include "core/NumberForms.h"
#include "engine/PondDesign.h"

namespace rh {

const PondState* RoutedStateAt(const PondRouting& routing, double minutes) {
  if (routing.StepMinutes <= 0 || routing.States.empty())
    return nullptr;
  const double index = std::round(minutes / static_cast<double>(routing.StepMinutes));
  if (!(index >= 0 && index < static_cast<double>(routing.States.size())))
    return nullptr;
  const PondState& state = routing.States[static_cast<std::size_t>(index)];
  return std::fabs(state.Minutes - minutes) < 1e-6 ? &state : nullptr;
}

HoursMinutes SplitHours(double minutes) {
  const double hours = std::floor(minutes / 60);
  return {hours, minutes - hours * 60};
}

std::string DrawdownText(const PondRouting& routing) {
  if (!routing.DrainMinutes)
    return routing.PeakOutflowCfs > 0 ? "does not drain" : "releases nothing";
  const HoursMinutes d = SplitHours(*routing.DrainMinutes);
  return PlainNumber(d.Hours) + " " + kTextUnits.Hours + " " + PlainNumber(d.Minutes) + " " +
         kTextUnits.Minutes;
}

OutletsAtPeak OutletFlowsAtPeak(const Run& run) {
  OutletsAtPeak at;
  const TablePond* pond = run.Inputs.Pond.get();
  if (!run.Routing || !pond || !pond->Design)
    return at;
  const PondDesign& design = pond->Design->Design;
  const PondRating& rating = pond->Design->Rating;
  const PondState* peak = RoutedStateAt(*run.Routing, run.Routing->PeakOutflowMinutes);
  const double stage = peak ? peak->StageFeet : rating.Rows.front().StageFeet;
  DeviceFlows flows = DeviceFlowsAt(rating, stage);
  at.BarrelCfs = flows.BarrelCfs;
  at.Devices.reserve(design.Outlets.size());
  for (std::size_t i = 0; i < design.Outlets.size() && i < flows.DeviceCfs.size(); ++i) {
    static const char* const kTypes[] = {"ORIFICE", "WEIR", "RISER", "SPILLWAY"};
    std::string name = rating.Columns[i];
    name.erase(name.size() - 4);  // "_cfs"
    at.Devices.push_back(
        {std::move(name), kTypes[static_cast<int>(design.Outlets[i].Kind)], flows.DeviceCfs[i]});
  }
  return at;
}

std::vector<std::string> PondLines(const Run& run) {
  std::vector<std::string> lines;
  if (!run.Routing)
    return lines;
  const PondRouting& p = *run.Routing;
  const UnitWords& units = kListingUnits;
  const std::string minutes = std::string(" ") + units.Minutes;
  const std::string cfs = std::string(" ") + units.Cfs;
  const std::string feet = std::string(" ") + units.Feet;
  const std::string acreFeet = std::string(" ") + units.AcreFeet;
  // "LABEL  12.3 UNIT AT  250 MIN."
  const auto figure = [&](const char* label, double value, double scale, const std::string& unit,
                          double at) {
    std::string line = label;
    AppendStrForm(line, RoundedHalfUp(value, scale));
    line += unit;
    line += " AT ";
    AppendStrForm(line, at);
    line += minutes;
    lines.push_back(std::move(line));
  };
  lines.emplace_back(" ");
  lines.push_back("POND TABLE " + (run.Inputs.Pond ? run.Inputs.Pond->File : std::string()));
  lines.push_back("ROUTING STORAGE INDICATION (MODIFIED PULS), STEP " +
                  StrForm(static_cast<double>(p.StepMinutes)) + minutes);
  figure("PEAK INFLOW ", p.PeakInflowCfs, kFigureFlowScale, cfs, p.PeakInflowMinutes);
  figure("PEAK OUTFLOW ", p.PeakOutflowCfs, kFigureFlowScale, cfs, p.PeakOutflowMinutes);
  figure("MAXIMUM STORAGE ", p.MaxStorageAcreFeet, kFigureStorageScale, acreFeet,
         p.MaxStorageMinutes);
  figure("MAXIMUM STAGE ", p.MaxStageFeet, kFigureStageScale, feet, p.MaxStorageMinutes);
  lines.push_back("TOP OF POND " + StrForm(RoundedHalfUp(p.TopStageFeet, kFigureStageScale)) +
                  feet + ", FREEBOARD " +
                  StrForm(RoundedHalfUp(p.TopStageFeet - p.MaxStageFeet, kFigureStageScale)) +
                  feet + ".");
  const OutletsAtPeak outlets = OutletFlowsAtPeak(run);
  for (const OutletsAtPeak::Device& d : outlets.Devices)
    lines.push_back(std::string(d.Type) + " " + d.Name + " " +
                    StrForm(RoundedHalfUp(d.Cfs, kFigureFlowScale)) + cfs +
                    " AT THE PEAK OUTFLOW.");
  if (outlets.BarrelCfs)
    lines.push_back("BARREL CAPACITY " +
                    StrForm(RoundedHalfUp(*outlets.BarrelCfs, kFigureFlowScale)) + cfs +
                    " AT THE PEAK OUTFLOW.");
  if (p.DrainMinutes) {
    const HoursMinutes d = SplitHours(*p.DrainMinutes);
    lines.push_back("DRAWDOWN " + StrForm(d.Hours) + " " + units.Hours + StrForm(d.Minutes) +
                    minutes);
  } else if (p.PeakOutflowCfs > 0) {
    lines.emplace_back("DRAWDOWN  NONE, THE POND DOES NOT DRAIN WITHIN 10 DAYS AFTER THE INFLOW");
  } else {
    lines.emplace_back("DRAWDOWN  NONE, THE POND RELEASES NOTHING");
  }
  if (p.Overtopped) {
    lines.push_back("OVERTOPPED FROM " + StrForm(p.OverflowStartMinutes) + minutes + " TO " +
                    StrForm(p.OverflowEndMinutes) + minutes);
    lines.push_back("OVERFLOW " + StrForm(RoundedHalfUp(p.OverflowAcreFeet, kFigureStorageScale)) +
                    acreFeet + ", PEAK " +
                    StrForm(RoundedHalfUp(p.OverflowPeakCfs, kFigureFlowScale)) + cfs + ".");
  }
  return lines;
}

std::string PondCsv(const Run& run) {
  static const PondRouting kNone;
  const PondRouting& routing = run.Routing ? *run.Routing : kNone;
  const TablePond* pond = run.Inputs.Pond.get();
  const PondRating* rating = pond && pond->Design ? &pond->Design->Rating : nullptr;
  const bool overflow = rating || routing.Overtopped;
  std::string text = "time_min,inflow_cfs,outflow_cfs,storage_acft,stage_ft";
  if (rating)
    for (const std::string& column : rating->Columns)
      text += ',' + column;
  if (overflow)
    text += ",overflow_cfs";
  text += '\n';
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
    if (rating) {
      for (const double q : DeviceFlowsAt(*rating, s.StageFeet).DeviceCfs) {
        text += ',';
        AppendPlainNumber(text, RoundedHalfUp(q, kRowFlowScale));
      }
    }
    if (overflow) {
      text += ',';
      AppendPlainNumber(text, RoundedHalfUp(s.OverflowCfs, kRowFlowScale));
    }
    text += '\n';
  }
  return text;
}

}  // namespace rh
