#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Batch.h"
#include "platform/FileSystem.h"

class FixedClock final : public rh::Clock {
 public:
  std::string ShortDate() override { return "12/7/2026"; }
};

namespace {

// A basin table of `count` rows with times of concentration from 5 to 60 minutes.
std::string BasinTable(long count) {
  std::string csv = "name,tc,rain,area,coef,peak\n";
  for (long i = 0; i < count; ++i) {
    csv += "basin-" + std::to_string(i) + "," + std::to_string(5 + i % 56) + ",2.5," +
           std::to_string(20 + i % 300) + ",.85," + std::to_string(100 + i % 400) + "\n";
  }
  return csv;
}

std::string TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rh-bench-XXXXXX").string();
  return mkdtemp(pattern.data());
}

// One whole batch as the command line runs it: read the table, run every basin, write the
// listing files (unless summary-only), the summary, and flush once at the end.
void RunWholeBatch(benchmark::State& state, bool summaryOnly,
                   rh::StdFileSystem::Durability durability) {
  const long count = state.range(0);
  const std::string csv = BasinTable(count);
  const std::string folder = TempFolder();
  rh::StdFileSystem files(durability);
  FixedClock clock;
  rh::BatchOptions options;
  options.OutDir = folder;
  options.SummaryOnly = summaryOnly;
  for (auto _ : state) {
    const rh::BatchReport report =
        rh::RunBatch(csv, options, rh::RunServices{files, clock, nullptr});
    files.ReplaceText(rh::BatchPath(options, "summary.csv"), rh::SummaryCsv(report));
    files.SyncAll(folder);
    if (report.Failed != 0)
      state.SkipWithError("rows failed");
  }
  state.SetItemsProcessed(state.iterations() * count);  // basins per second
  std::filesystem::remove_all(folder);
}

void BM_BatchListingFiles(benchmark::State& state) {
  RunWholeBatch(state, false, rh::StdFileSystem::Durability::Deferred);
}
BENCHMARK(BM_BatchListingFiles)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with every file flushed to the disk before its rename, for comparison.
void BM_BatchListingFilesSynced(benchmark::State& state) {
  RunWholeBatch(state, false, rh::StdFileSystem::Durability::Synced);
}
BENCHMARK(BM_BatchListingFilesSynced)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchSummaryOnly(benchmark::State& state) {
  RunWholeBatch(state, true, rh::StdFileSystem::Durability::Deferred);
}
BENCHMARK(BM_BatchSummaryOnly)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
