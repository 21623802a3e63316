// Whole companion processes beside their floor, a plain C program that prints the same listing,
// timed in turn in the same run so that the ratio holds however busy the machine is.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TimedProcess.h"

namespace {

using rh::bench::TimeProcess;

// Arg 0: a plain listing; 1: the CSV table; 2: the listing with a HEC-1 deck. The floor prints the
// plain listing in each.
void BM_CompanionBesideBareC(benchmark::State& state) {
  std::vector<std::string> args = {RH_CLI_PATH, "--tc",   "10",  "--rain", "2.5", "--area",
                                   "100",       "--coef", ".85", "--peak", "250"};
  const std::string deck = (std::filesystem::temp_directory_path() / "rh-bench.hc1").string();
  if (state.range(0) == 1)
    args.emplace_back("--csv");
  if (state.range(0) == 2)
    args.insert(args.end(), {"--hec1", deck});
  double companion = 0;
  double bare = 0;
  for (auto _ : state) {
    bare += TimeProcess({RH_BARE_PATH});
    companion += TimeProcess(args);
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["companion_ms"] = companion / runs * 1e3;
  state.counters["bare_ms"] = bare / runs * 1e3;
  state.counters["ratio"] = companion / bare;
  std::filesystem::remove(deck);
}
BENCHMARK(BM_CompanionBesideBareC)
    ->ArgName("output")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);

}  // namespace
