// The pond reader over arbitrary files (CSV tables, or JSON ponds when built with
// RH_FUZZ_POND_FILE "fuzz.json"), and the sample basin routed through every pond it accepts: a
// refusal, or a routing that stays inside its table and balances its volumes with what went over
// the top.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "OneFile.h"
#include "app/tables/PondFile.h"
#include "core/Faults.h"
#include "engine/Hydrograph.h"
#include "engine/Pond.h"

#ifndef RH_FUZZ_POND_FILE
#define RH_FUZZ_POND_FILE "fuzz.csv"
#endif

namespace {

const rh::Run& SampleRun() {
  static const rh::Run run = [] {
    rh::RunInputs in;
    in.TimeOfConcentration = 10;
    in.SixHourRainfall = 2.5;
    in.BasinArea = 100;
    in.RunoffCoefficient = 0.85;
    in.PeakDischarge = 250;
    rh::Run sample;
    sample.Inputs = in;
    rh::ComputeHydrograph(in, sample.Result);
    return sample;
  }();
  return run;
}

void CheckRouting(const rh::PondTable& table, const rh::PondRouting& p) {
  const rh::PondRow& bottom = table.Rows().front();
  const rh::PondRow& top = table.Rows().back();
  for (const rh::PondState& s : p.States) {
    if (!(s.StorageAcreFeet >= 0 && s.StorageAcreFeet <= top.StorageAcreFeet * (1 + 1e-12) &&
          s.OutflowCfs >= 0 && s.OutflowCfs <= top.OutflowCfs * (1 + 1e-12) &&
          s.StageFeet >= bottom.StageFeet && s.StageFeet <= top.StageFeet * (1 + 1e-12)))
      __builtin_trap();
  }
  const double in = p.InflowAcreFeet;
  if (!(std::fabs(in - p.OutflowAcreFeet - p.OverflowAcreFeet - p.StorageLeftAcreFeet) <=
        1e-9 * in) ||
      p.OverflowAcreFeet < 0 || (p.OverflowAcreFeet > 0 && !p.Overtopped))
    __builtin_trap();
  if (p.DrainMinutes && !(*p.DrainMinutes >= 0 && p.EndMinutes >= p.InflowEndMinutes))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rh::fuzz::OneFile files(std::string(reinterpret_cast<const char*>(data), size));
  std::shared_ptr<const rh::TablePond> pond;
  try {
    pond = rh::LoadPond(files, RH_FUZZ_POND_FILE, RH_FUZZ_POND_FILE);
  } catch (const rh::Refused&) {
    return 0;
  }
  const std::optional<long> step = rh::LongestRoutingStep(pond->Table, 10);
  try {
    CheckRouting(pond->Table, rh::RoutePond(SampleRun(), pond->Table, step.value_or(1)));
  } catch (const rh::Refused&) {
    // No step short enough for the outlet.
  } catch (const rh::ArithmeticFault&) {
    // Storages so close together, or so large, that their indications do not exist as numbers.
  }
  return 0;
}
