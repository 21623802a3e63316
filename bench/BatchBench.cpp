#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/companion/Batch.h"
#include "engine/Hydrograph.h"

namespace {

class FixedClock final : public rh::Clock {
 public:
  std::string ShortDate() override { return "12/7/2026"; }
  std::int64_t UtcSeconds() override { return 0; }
};

std::string TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rh-bench-XXXXXX").string();
  return mkdtemp(pattern.data());
}

// A basin table file of `count` rows with times of concentration from 5 to 60 minutes; with
// `pond`, every row routed through the sample pond (basins of 60 to 120 acres, which it holds).
std::string BasinTable(const std::string& folder, long count, bool pond = false) {
  std::string path = folder + "/basins.csv";
  std::ofstream csv(path);
  csv << "name,tc,rain,area,coef,peak" << (pond ? ",pond" : "") << "\n";
  for (long i = 0; i < count; ++i) {
    if (pond) {
      csv << "basin-" << i << ',' << 5 + i % 56 << ",2.5," << 60 + i % 61 << ",.85,,"
          << "pond.csv\n";
      continue;
    }
    // Typed peaks from 0.8 to 1.2 times the chart's, inside what each storm supports.
    const long area = 20 + i % 300;
    const long tc = 5 + i % 56;
    const double chartPeak =
        0.85 * rh::ChartIntensity(2.5, static_cast<double>(tc)) * static_cast<double>(area);
    csv << "basin-" << i << ',' << tc << ",2.5," << area << ",.85,"
        << std::round(chartPeak * static_cast<double>(8 + i % 5)) / 10 << '\n';
  }
  if (pond)
    std::filesystem::copy_file(RH_SAMPLE_POND, folder + "/pond.csv");
  return path;
}

// The batch of `table` into `out`; `workers` 0: a thread for every core, as the companion runs it.
rh::BatchOptions Options(const std::string& table, const std::string& out, bool summaryOnly,
                         unsigned workers = 0) {
  rh::BatchOptions options;
  options.Table = table;
  options.OutDir = out;
  options.SummaryOnly = summaryOnly;
  options.Workers = workers;
  return options;
}

// One whole batch as the companion runs it: the table read as the rows go, the listing files
// (unless summary-only) and the summary written, one flush at the end.
void RunOnce(benchmark::State& state, const rh::BatchOptions& options) {
  FixedClock clock;
  rh::StdFileSystem files(rh::StdFileSystem::Durability::Deferred);
  const rh::BatchTally tally = rh::RunBatchFiles(options, rh::RunServices{files, clock, nullptr});
  if (tally.Failed != 0)
    state.SkipWithError("rows failed");
}

// Listing files for every basin. Arg "again": 0 into a fresh folder each time; 1 into the folder
// that holds the files of the run before (every file replaces an earlier one). Arg "workers": 0 a
// thread for every core, 1 one thread.
void BM_BatchListingFiles(benchmark::State& state) {
  const long count = state.range(0);
  const bool again = state.range(1) != 0;
  const auto workers = static_cast<unsigned>(state.range(2));
  const std::string folder = TempFolder();
  const std::string table = BasinTable(folder, count);
  long run = 0;
  if (again)
    RunOnce(state, Options(table, folder + "/out", false, workers));
  for (auto _ : state) {
    std::string out = folder + "/out";
    if (!again) {
      state.PauseTiming();
      out += std::to_string(++run);
      state.ResumeTiming();
    }
    RunOnce(state, Options(table, out, false, workers));
  }
  state.SetItemsProcessed(state.iterations() * count);  // basins per second
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BatchListingFiles)
    ->ArgNames({"rows", "again", "workers"})
    ->ArgsProduct({{10000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The summary alone, for screening many basins; "peak_rss_mib" is the process's largest resident
// size so far, the table itself never being held.
void BM_BatchSummaryOnly(benchmark::State& state) {
  const long count = state.range(0);
  const std::string folder = TempFolder();
  const std::string table = BasinTable(folder, count);
  for (auto _ : state)
    RunOnce(state, Options(table, folder + "/out", true));
  state.SetItemsProcessed(state.iterations() * count);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_mib"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  std::filesystem::remove_all(folder);
}
// Every basin routed through a pond, the summary alone: the routing of 10,000 basins.
void BM_BatchPondsSummaryOnly(benchmark::State& state) {
  const long count = state.range(0);
  const std::string folder = TempFolder();
  const std::string table = BasinTable(folder, count, true);
  for (auto _ : state)
    RunOnce(state, Options(table, folder + "/out", true));
  state.SetItemsProcessed(state.iterations() * count);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BatchPondsSummaryOnly)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK(BM_BatchSummaryOnly)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
