// A whole batch with listing files, as the companion runs it, beside its floor: a bare program
// that makes as many files through a temporary file and a rename. Timed in turn in the same run
// so that the ratio holds however busy the machine is.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TimedProcess.h"

namespace {

// The batch writes its own files; what it prints is its summary.
double TimeProcess(const std::vector<std::string>& args) {
  return rh::bench::TimeProcess(args, /*keepOutput=*/true);
}

// Arg "rows": basins of Tc 5 to 60 minutes with typed peaks the storm supports: 0.8 to 1.2 times
// the chart peak C x I(Tc) x A, inside the band between C x A x I(2 Tc) (the block just before the
// peak) and twice that (where the block would turn negative), so that every row makes a listing.
void BM_BatchBesideBare(benchmark::State& state) {
  const long count = state.range(0);
  std::string pattern = (std::filesystem::temp_directory_path() / "rh-bench-XXXXXX").string();
  const std::string folder = mkdtemp(pattern.data());
  const std::string table = folder + "/basins.csv";
  {
    std::ofstream csv(table);
    csv << "name,tc,rain,area,coef,peak\n";
    for (long i = 0; i < count; ++i) {
      const long area = 20 + i % 300;
      const long tc = 5 + i % 56;
      const double chartPeak =
          0.85 * 7.44 * 2.5 * std::pow(static_cast<double>(tc), -0.645) * static_cast<double>(area);
      csv << "basin-" << i << ',' << tc << ",2.5," << area << ",.85,"
          << std::round(chartPeak * static_cast<double>(8 + i % 5)) / 10 << '\n';
    }
  }
  // Each run into a folder of its own, as a first batch writes: renaming over earlier files makes
  // ext4 write each one out at once, which the bare program does not avoid.
  const auto batch = [&](long run) {
    return std::vector<std::string>{RH_CLI_PATH, "--batch", table, "--out",
                                    folder + "/out" + std::to_string(run)};
  };
  const auto bare = [&](long run) {
    return std::vector<std::string>{RH_BARE_BATCH_PATH, folder + "/bare" + std::to_string(run),
                                    std::to_string(count)};
  };
  long run = 0;
  TimeProcess(batch(run));
  TimeProcess(bare(run));
  double batchSeconds = 0;
  double bareSeconds = 0;
  for (auto _ : state) {
    ++run;
    bareSeconds += TimeProcess(bare(run));
    batchSeconds += TimeProcess(batch(run));
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["batch_ms"] = batchSeconds / runs * 1e3;
  state.counters["bare_ms"] = bareSeconds / runs * 1e3;
  state.counters["ratio"] = batchSeconds / bareSeconds;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BatchBesideBare)
    ->ArgName("rows")
    ->Arg(10000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
