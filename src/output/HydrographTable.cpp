#include "output/HydrographTable.h"

#include "core/NumberForms.h"
#include "engine/Pond.h"
#include "output/PondReport.h"

namespace rh {

namespace {

// The rows of the hydrograph; with `routing`, the routed state at each ordinate's time after them
// (empty cells past the end of routing).
std::string Rows(const Run& run, char separator, const PondRouting* routing = nullptr) {
  const RunResult& r = run.Result;
  std::string text;
  text.reserve(static_cast<std::size_t>(r.OrdinateCount + 2) * (routing ? 40 : 16));
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    const double minutes = run.Inputs.TimeOfConcentration * static_cast<double>(n);
    AppendPlainNumber(text, minutes);
    text += separator;
    AppendPlainNumber(text, r.Hydrograph(n));
    if (routing) {
      const PondState* state = RoutedStateAt(*routing, minutes);
      if (state == nullptr) {
        text.append(3, separator);
      } else {
        for (const double cell : {RoundedHalfUp(state->OutflowCfs, kRowFlowScale),
                                  RoundedHalfUp(state->StorageAcreFeet, kRowStorageScale),
                                  RoundedHalfUp(state->StageFeet, kRowStageScale)}) {
          text += separator;
          AppendPlainNumber(text, cell);
        }
      }
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::string HydrographCsv(const Run& run) {
  return "time_min,discharge_cfs\n" + Rows(run, ',');
}

std::string HydrographTsv(const Run& run) {
  return Rows(run, '\t', run.Routing.get());
}

}  // namespace rh
