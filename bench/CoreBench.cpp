#include <benchmark/benchmark.h>

#include <cmath>

#include "SampleBasin.h"
#include "engine/Hydrograph.h"
#include "output/ResultsListing.h"

namespace {

using rh::bench::SampleBasin;

// The engine into storage reused from run to run, as a batch runs it.
void BM_ComputeHydrograph(benchmark::State& state) {
  const rh::RunInputs in = SampleBasin(static_cast<double>(state.range(0)));
  rh::RunResult result;
  for (auto _ : state) {
    rh::ComputeHydrograph(in, result);
    benchmark::DoNotOptimize(result.Hydrograph[result.PeakIndex]);
  }
}
BENCHMARK(BM_ComputeHydrograph)->Arg(5)->Arg(10);

// The floor under the engine: the chart's power of each block's duration (71 calls at Tc 5), which
// no rearrangement that keeps the figures to the bit can avoid. BM_ComputeHydrograph over this is
// the engine's overhead.
void BM_ChartPowersFloor(benchmark::State& state) {
  const double tc = static_cast<double>(state.range(0));
  const long blocks = std::lround(360 / tc);
  for (auto _ : state) {
    double sum = 0;
    for (long n = 2; n <= blocks; ++n) {
      double d = tc * static_cast<double>(n);
      benchmark::DoNotOptimize(d);
      sum += std::pow(d, -0.645);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ChartPowersFloor)->Arg(5)->Arg(10);

// The listing text of a computed run, as the companion prints it and a batch writes it.
void BM_ListingText(benchmark::State& state) {
  const rh::Run run = rh::bench::ComputeRun(SampleBasin(static_cast<double>(state.range(0))));
  for (auto _ : state) {
    auto text = rh::ListingText(run);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_ListingText)->Arg(5)->Arg(10);

// A whole run as the screens show it: compute, then the listing lines.
void BM_WholeRun(benchmark::State& state) {
  const rh::RunInputs in = SampleBasin(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    auto lines = rh::BuildResultLines(rh::bench::ComputeRun(in));
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_WholeRun)->Arg(5)->Arg(10);

}  // namespace
