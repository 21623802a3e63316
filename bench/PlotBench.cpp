#include <benchmark/benchmark.h>

#include "Plot.h"
#include "app/Init.h"
#include "engine/Hydrograph.h"

namespace {

// One basin's chart, from computed hydrograph to file bytes.
void BM_Plot(benchmark::State& state) {
  rh::Init s;
  s.TimeOfConcentration = static_cast<double>(state.range(1));
  s.SixHourRainfall = 2.5;
  s.BasinArea = 100;
  s.RunoffCoefficient = 0.85;
  s.Discharge(1) = 250;
  rh::ComputeHydrograph(s);
  const auto format = state.range(0) == 0 ? rh::cli::PlotFormat::Svg : rh::cli::PlotFormat::Png;
  for (auto _ : state) {
    const std::string bytes = rh::cli::PlotBytes(s, format);
    benchmark::DoNotOptimize(bytes.data());
  }
}
// Format (0 SVG, 1 PNG) and Tc (5 minutes gives the most ordinates).
BENCHMARK(BM_Plot)
    ->ArgNames({"png", "tc"})
    ->Args({0, 5})
    ->Args({1, 5})
    ->Args({1, 10})
    ->Unit(benchmark::kMillisecond);

}  // namespace
