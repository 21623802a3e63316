#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SampleBasin.h"
#include "app/tables/PondFile.h"
#include "engine/Hydrograph.h"
#include "engine/Pond.h"
#include "engine/PondDesign.h"

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

// The sample pond's table resampled at 1,000 stages, straight between its rows: the same pond in
// as many rows as a rating made at 0.01 ft has.
rh::PondTable FinePond() {
  const rh::PondTable coarse = SamplePond();
  const std::vector<rh::PondRow>& rows = coarse.Rows();
  std::vector<rh::PondRow> fine;
  const double top = rows.back().StageFeet;
  std::size_t j = 0;
  for (int i = 0; i < 1000; ++i) {
    const double stage = i == 999 ? top : top * i / 999;
    while (j + 2 < rows.size() && stage > rows[j + 1].StageFeet)
      ++j;
    const rh::PondRow& lo = rows[j];
    const rh::PondRow& hi = rows[j + 1];
    const double share = (stage - lo.StageFeet) / (hi.StageFeet - lo.StageFeet);
    fine.push_back({stage, lo.StorageAcreFeet + share * (hi.StorageAcreFeet - lo.StorageAcreFeet),
                    lo.OutflowCfs + share * (hi.OutflowCfs - lo.OutflowCfs)});
  }
  return rh::PondTable(std::move(fine));
}

// The sample basin routed through the sample pond's table in 1,000 rows: against BM_RoutePond at
// Tc 10 (15 rows), what finding each step's pair of rows costs in a fine rating.
void BM_RoutePondFineTable(benchmark::State& state) {
  const rh::Run run = rh::bench::ComputeRun(SampleBasin(10));
  const rh::PondTable pond = FinePond();
  for (auto _ : state) {
    const rh::PondRouting routing = rh::RoutePond(run, pond, 1);
    benchmark::DoNotOptimize(routing.PeakOutflowCfs);
  }
}
BENCHMARK(BM_RoutePondFineTable);

// A 10-ft pond on contours with an orifice, a weir, a riser, a spillway and a barrel.
rh::PondDesign TenFootPond() {
  rh::PondDesign d;
  d.Storage.Contours = {{0, 1.0}, {2, 1.3}, {5, 1.8}, {10, 2.6}};
  rh::Outlet orifice;
  orifice.DiameterInches = 12;
  rh::Outlet weir;
  weir.Kind = rh::Outlet::Type::Weir;
  weir.Form = rh::Outlet::Shape::Rectangular;
  weir.LengthFeet = 4;
  weir.CrestFeet = 4;
  weir.Contractions = 2;
  rh::Outlet riser;
  riser.Kind = rh::Outlet::Type::Riser;
  riser.DiameterInches = 48;
  riser.CrestFeet = 7;
  rh::Outlet spillway;
  spillway.Kind = rh::Outlet::Type::Spillway;
  spillway.Form = rh::Outlet::Shape::Broad;
  spillway.LengthFeet = 20;
  spillway.CrestFeet = 9;
  spillway.Cw = 2.6;
  d.Outlets = {orifice, weir, riser, spillway};
  rh::Barrel barrel;
  barrel.DiameterInches = 30;
  barrel.LengthFeet = 80;
  d.Pipe = barrel;
  d.TopFeet = 10;
  return d;
}

// Its rating at 0.01 ft: 1,001 rows, each device's flow and the barrel's capacity.
void BM_RatePond(benchmark::State& state) {
  const rh::PondDesign d = TenFootPond();
  for (auto _ : state) {
    const rh::PondRating rating = rh::RatePond(d);
    benchmark::DoNotOptimize(rating.Rows.data());
  }
}
BENCHMARK(BM_RatePond);

// The floor under the rating: the same formulas for the same pond in a bare loop, into tables
// kept from run to run, the stages known, nothing sorted or checked.
void BM_RatePondFloor(benchmark::State& state) {
  const double pi = 3.14159265358979323846;
  const double g2 = 64.4;
  const std::vector<rh::Contour> c = {{0, 1.0}, {2, 1.3}, {5, 1.8}, {10, 2.6}};
  std::vector<double> below(c.size());
  for (std::size_t i = 1; i < c.size(); ++i) {
    const double h = c[i].StageFeet - c[i - 1].StageFeet;
    below[i] = below[i - 1] + h / 3 *
                                  (c[i - 1].AreaAcres + c[i].AreaAcres +
                                   std::sqrt(c[i - 1].AreaAcres * c[i].AreaAcres));
  }
  std::vector<rh::PondRow> rows(1001);
  std::vector<double> devices(std::size_t{1001} * 4);
  std::vector<double> barrelCfs(1001);
  const double barrelLosses = 1.5 + 29 * 0.013 * 0.013 * 80 / std::pow(2.5 / 4, 4.0 / 3.0);
  for (auto _ : state) {
    std::size_t seg = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const double stage = static_cast<double>(r) * 0.01;
      while (seg + 2 < c.size() && stage >= c[seg + 1].StageFeet)
        ++seg;
      const double h = stage - c[seg].StageFeet;
      const double a = c[seg].AreaAcres + (c[seg + 1].AreaAcres - c[seg].AreaAcres) * h /
                                              (c[seg + 1].StageFeet - c[seg].StageFeet);
      const double storage =
          below[seg] + h / 3 * (c[seg].AreaAcres + a + std::sqrt(c[seg].AreaAcres * a));
      double* q = &devices[r * 4];
      const double d = stage;  // orifice, 1 ft, invert 0
      q[0] = d <= 0  ? 0
             : d < 1 ? 0.6 * pi / 4 * std::sqrt(g2 / 2) * d * std::sqrt(d)
                     : 0.6 * pi / 4 * std::sqrt(g2 * (d - 0.5));
      const double hw = stage - 4;
      q[1] = hw > 0 ? 3.33 * std::max(0.0, 4 - 0.2 * hw) * hw * std::sqrt(hw) : 0;
      const double hr = stage - 7;
      q[2] = hr > 0
                 ? std::min(3.33 * 4 * pi * hr * std::sqrt(hr), 0.6 * 4 * pi * std::sqrt(g2 * hr))
                 : 0;
      const double hs = stage - 9;
      q[3] = hs > 0 ? 2.6 * 20 * hs * std::sqrt(hs) : 0;
      barrelCfs[r] =
          pi * 2.5 * 2.5 / 4 * std::sqrt(g2 * std::max(0.0, stage - 1.25) / barrelLosses);
      rows[r] = {stage, storage, std::min(q[0] + q[1] + q[2], barrelCfs[r]) + q[3]};
    }
    benchmark::DoNotOptimize(rows.data());
    benchmark::DoNotOptimize(devices.data());
    benchmark::DoNotOptimize(barrelCfs.data());
  }
}
BENCHMARK(BM_RatePondFloor);

}  // namespace
