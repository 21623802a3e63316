#include <benchmark/benchmark.h>

#include "output/Plot.h"
#include "platform/qt/QtOutputDevices.h"

namespace {

// One basin's chart, from computed hydrograph to file bytes.
void BM_Plot(benchmark::State& state) {
  rh::RunInputs in;
  in.TimeOfConcentration = static_cast<double>(state.range(1));
  in.SixHourRainfall = 2.5;
  in.BasinArea = 100;
  in.RunoffCoefficient = 0.85;
  in.PeakDischarge = 250;
  const rh::Run run = rh::ComputeRun(in);
  rh::QtOutputDevices devices;
  const bool png = state.range(0) != 0;
  for (auto _ : state) {
    const rh::Drawing drawing = rh::PlotDrawing(run);
    const std::string bytes = png ? devices.PngBytes(drawing) : rh::DrawingSvg(drawing);
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
