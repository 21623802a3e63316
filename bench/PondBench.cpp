#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SampleBasin.h"
#include "app/tables/PondFile.h"
#include "engine/Hydrograph.h"
#include "engine/Pond.h"

namespace {

using rh::bench::SampleBasin;

rh::PondTable SamplePond() {
  std::ifstream file(RH_SAMPLE_POND);
  std::ostringstream text;
  text << file.rdbuf();
  return rh::ReadPondTable(text.str(), "example-pond.csv").Table;
}

// The sample basin routed through the sample pond in 1 minute steps (872 steps at Tc 10, 868 at
// Tc 5), the routed states in a new table each time.
void BM_RoutePond(benchmark::State& state) {
  const rh::Run run = rh::bench::ComputeRun(SampleBasin(static_cast<double>(state.range(0))));
  const rh::PondTable pond = SamplePond();
  for (auto _ : state) {
    const rh::PondRouting routing = rh::RoutePond(run, pond, 1);
    benchmark::DoNotOptimize(routing.PeakOutflowCfs);
  }
}
BENCHMARK(BM_RoutePond)->Arg(5)->Arg(10);

// The floor under the routing: the same steps of the same arithmetic (the inflow between
// ordinates, N, the pond's state at N's place in its pair of rows, the volume sums and the maxima)
// into a table kept from run to run, with each step's pair of rows already known: no search for the
// pair, no test of the end of routing, nothing checked.
void BM_RoutePondFloor(benchmark::State& state) {
  const rh::Run run = rh::bench::ComputeRun(SampleBasin(static_cast<double>(state.range(0))));
  const rh::PondTable pond = SamplePond();
  const rh::PondRouting routed = rh::RoutePond(run, pond, 1);
  const std::vector<rh::PondRow>& rows = pond.Rows();
  struct Pair {
    double Indication, PerIndication, Storage, Outflow, Stage, StorageRise, OutflowRise, StageRise;
  };
  const double perAcreFoot = 2 * rh::kCubicFeetPerAcreFoot / 60;
  std::vector<Pair> pairs;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    const rh::PondRow& lo = rows[i];
    const rh::PondRow& hi = rows[i + 1];
    const double low = lo.StorageAcreFeet * perAcreFoot + lo.OutflowCfs;
    pairs.push_back({low, 1 / (hi.StorageAcreFeet * perAcreFoot + hi.OutflowCfs - low),
                     lo.StorageAcreFeet, lo.OutflowCfs, lo.StageFeet,
                     hi.StorageAcreFeet - lo.StorageAcreFeet, hi.OutflowCfs - lo.OutflowCfs,
                     hi.StageFeet - lo.StageFeet});
  }
  // Each step's pair: the one whose storages hold the routed storage.
  std::vector<std::size_t> pairOf(routed.States.size());
  for (std::size_t k = 1; k < routed.States.size(); ++k) {
    while (pairOf[k] + 2 < rows.size() &&
           routed.States[k].StorageAcreFeet > rows[pairOf[k] + 1].StorageAcreFeet)
      ++pairOf[k];
  }
  const rh::OrdinateArray& h = run.Result.Hydrograph;
  const long perOrdinate = static_cast<long>(run.Inputs.TimeOfConcentration);
  const long inflowSteps = static_cast<long>(routed.InflowEndMinutes);
  std::vector<double> rise(static_cast<std::size_t>(h.Size()));
  for (long i = 0; i + 1 < h.Size(); ++i)
    rise[static_cast<std::size_t>(i)] = (h[i + 1] - h[i]) / static_cast<double>(perOrdinate);
  std::vector<rh::PondState> states;
  states.reserve(routed.States.size());
  const long steps = static_cast<long>(routed.States.size()) - 1;

  for (auto _ : state) {
    states.clear();
    states.push_back({0, h[0], 0, 0, rows[0].StageFeet});
    double inflow = h[0], outflow = 0, storage = 0, inSum = 0, outSum = 0;
    double peakOut = 0, peakOutAt = 0, peakIn = 0, peakInAt = 0, most = 0, mostAt = 0, stage = 0;
    long ordinate = 0, since = 0;
    for (long k = 1; k <= steps; ++k) {
      if (++since == perOrdinate) {
        since = 0;
        ++ordinate;
      }
      const double minutes = static_cast<double>(k);
      const double next =
          k < inflowSteps
              ? h[ordinate] + static_cast<double>(since) * rise[static_cast<std::size_t>(ordinate)]
              : 0.0;
      const double n = inflow + next + storage * perAcreFoot - outflow;
      const Pair& g = pairs[pairOf[static_cast<std::size_t>(k)]];
      const double share = (n - g.Indication) * g.PerIndication;
      const double nextStorage = g.Storage + share * g.StorageRise;
      const double nextOutflow = g.Outflow + share * g.OutflowRise;
      const double nextStage = g.Stage + share * g.StageRise;
      states.push_back({minutes, next, nextOutflow, nextStorage, nextStage});
      inSum += inflow + next;
      outSum += outflow + nextOutflow;
      inflow = next;
      outflow = nextOutflow;
      storage = nextStorage;
      if (inflow > peakIn) {
        peakIn = inflow;
        peakInAt = minutes;
      }
      if (outflow > peakOut) {
        peakOut = outflow;
        peakOutAt = minutes;
      }
      if (storage > most) {
        most = storage;
        stage = nextStage;
        mostAt = minutes;
      }
    }
    benchmark::DoNotOptimize(states.data());
    benchmark::DoNotOptimize(inSum + outSum + peakOutAt + peakInAt + mostAt + stage);
  }
}
BENCHMARK(BM_RoutePondFloor)->Arg(5)->Arg(10);

}  // namespace
