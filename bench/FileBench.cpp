// Replacing files whole: the synced deck write beside the bare floor of any durable replacement,
// and a batch's deferred writes into a fresh folder and again into the same folder. Each pair
// runs alternately in the same iterations, so the machine's load falls on both alike; the
// counters give each one's mean and their ratio.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rh-bench-XXXXXX").string();
  return mkdtemp(pattern.data());
}

// About `size` bytes of deck-like lines.
std::string Text(std::size_t size, const char* lineEnd) {
  std::string text;
  while (text.size() < size)
    text += std::string("QI 0  12.8  13.1  13.9  14.4  15.4  16  17.4  18.3  20.3") + lineEnd;
  return text;
}

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// The floor: open, write, fsync, close and rename, nothing checked beyond the calls' results.
bool FloorWrite(const std::string& path, const std::string& text) {
  const std::string temp = path + ".new";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const bool synced = ::fsync(fd) == 0;
  return (::close(fd) == 0) && written && synced && ::rename(temp.c_str(), path.c_str()) == 0;
}

// A deck of about 3 KB replaced through StdFileSystem (Synced), and the same bytes at the floor.
void BM_DeckSyncedBesideFloor(benchmark::State& state) {
  const std::string folder = TempFolder();
  const std::string text = Text(3000, "\r\n");
  rh::StdFileSystem files;
  double floor = 0;
  double synced = 0;
  bool floorFirst = true;  // each goes first every other time
  for (auto _ : state) {
    for (int turn = 0; turn < 2; ++turn) {
      const auto start = Clock::now();
      if (floorFirst == (turn == 0)) {
        if (!FloorWrite(folder + "/FLOOR.HC1", text))
          state.SkipWithError("the floor write failed");
        floor += Seconds(start, Clock::now());
      } else {
        files.ReplaceText(folder + "/RUN1.HC1", text);
        synced += Seconds(start, Clock::now());
      }
    }
    floorFirst = !floorFirst;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["floor_us"] = floor / n * 1e6;
  state.counters["synced_us"] = synced / n * 1e6;
  state.counters["synced_per_floor"] = synced / floor;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DeckSyncedBesideFloor)->Unit(benchmark::kMicrosecond)->UseRealTime();

// `count` listing-sized files (Deferred) into a fresh folder, closed with SyncAll as a batch is;
// then the same again into that folder, each file replacing the earlier one.
void BM_DeferredFreshThenAgain(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const std::string text = Text(1400, "\n");
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i)
    names.push_back("/basin-" + std::to_string(i) + ".txt");
  const auto writeAll = [&](const std::string& folder) {
    rh::StdFileSystem files(rh::StdFileSystem::Durability::Deferred);
    const auto start = Clock::now();
    std::string path;
    for (const std::string& name : names)
      files.ReplaceText(path.assign(folder).append(name), text);
    files.SyncAll(folder);
    return Seconds(start, Clock::now());
  };
  double fresh = 0;
  double again = 0;
  for (auto _ : state) {
    const std::string folder = TempFolder();
    fresh += writeAll(folder);
    again += writeAll(folder);
    state.PauseTiming();
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["fresh_ms"] = fresh / n * 1e3;
  state.counters["again_ms"] = again / n * 1e3;
  state.counters["again_per_fresh"] = again / fresh;
}
BENCHMARK(BM_DeferredFreshThenAgain)
    ->Arg(10000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
