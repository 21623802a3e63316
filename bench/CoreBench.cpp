#include <benchmark/benchmark.h>

#include "app/Init.h"
#include "app/Run.h"
#include "engine/Hydrograph.h"

namespace {

rh::Init Basin(double tc) {
  rh::Init s;
  s.TimeOfConcentration = tc;
  s.SixHourRainfall = 2.5;
  s.BasinArea = 100;
  s.RunoffCoefficient = 0.85;
  s.Discharge(1) = 250;
  return s;
}

void BM_ComputeHydrograph(benchmark::State& state) {
  rh::Init s = Basin(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    rh::ComputeHydrograph(s);
    benchmark::DoNotOptimize(s.Hydrograph(s.PeakIndex));
  }
}
BENCHMARK(BM_ComputeHydrograph)->Arg(5)->Arg(10);

// A whole run as the results screen performs it: compute, then the listing lines.
void BM_WholeRun(benchmark::State& state) {
  rh::Init s = Basin(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    auto lines = rh::ComputeResults(s);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_WholeRun)->Arg(5)->Arg(10);

}  // namespace
