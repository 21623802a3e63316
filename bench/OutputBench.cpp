#include <benchmark/benchmark.h>
#include <cstdlib>

#include <filesystem>
#include <string>
#include <vector>

#include "SampleBasin.h"
#include "app/run/RunBasin.h"
#include "core/NumberForms.h"
#include "engine/Hydrograph.h"
#include "output/Hec1Deck.h"
#include "output/PrintedReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtPrinter.h"

namespace {

class FixedClock : public rh::Clock {
 public:
  std::string ShortDate() override { return "12/7/2026"; }
  std::int64_t UtcSeconds() override { return 0; }
};

// A run with the HEC-1 switch on: Tc 5 gives the longest hydrograph, 83 ordinates.
rh::RunInputs Inputs(double tc) {
  return rh::bench::SampleBasin(tc, rh::kZeroTailHec1);
}

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rh-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  std::string operator/(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void BM_Hec1DeckText(benchmark::State& state) {
  const rh::Run s = rh::bench::ComputeRun(Inputs(5));
  for (auto _ : state) {
    auto text = rh::Hec1DeckText(s, "C:\\RUNS\\RUN1.HC1", "12/7/2026");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_Hec1DeckText);

// The times and discharges of the longest listing (Tc 5, 83 ordinates), alternating.
std::vector<double> ListingNumbers() {
  const rh::Run s = rh::bench::ComputeRun(Inputs(5));
  std::vector<double> numbers;
  for (long n = 0; n <= s.Result.OrdinateCount; ++n) {
    numbers.push_back(s.Inputs.TimeOfConcentration * static_cast<double>(n));
    numbers.push_back(s.Result.Hydrograph(n));
  }
  return numbers;
}

// Arg 0: one string per number (StrForm); 1: appended into one reused buffer (AppendStrForm).
void BM_NumberForms(benchmark::State& state) {
  const std::vector<double> numbers = ListingNumbers();
  std::string buffer;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      for (const double value : numbers) {
        std::string text = rh::StrForm(value);
        benchmark::DoNotOptimize(text.data());
      }
    } else {
      buffer.clear();
      for (const double value : numbers)
        rh::AppendStrForm(buffer, value);
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(numbers.size()));
}
BENCHMARK(BM_NumberForms)->ArgName("append")->Arg(0)->Arg(1);

// The listing's ordinate lines. Arg 0: as the listing builds them today, a string per line with
// StrForm pieces; 1: the same lines with AppendStrForm; 2: all lines appended to one reused text.
void BM_OrdinateLines(benchmark::State& state) {
  const std::vector<double> numbers = ListingNumbers();
  std::string text;
  for (auto _ : state) {
    std::vector<std::string> lines;
    lines.reserve(numbers.size() / 2);
    text.clear();
    for (std::size_t i = 0; i < numbers.size(); i += 2) {
      if (state.range(0) == 2) {
        text += "    TIME (MIN) = ";
        rh::AppendStrForm(text, numbers[i]);
        text += "     DISCHARGE (CFS) = ";
        rh::AppendStrForm(text, numbers[i + 1]);
        text += '\n';
        continue;
      }
      std::string line = "    TIME (MIN) = ";
      line.reserve(64);
      if (state.range(0) == 0) {
        line += rh::StrForm(numbers[i]);
        line += "     DISCHARGE (CFS) = ";
        line += rh::StrForm(numbers[i + 1]);
      } else {
        rh::AppendStrForm(line, numbers[i]);
        line += "     DISCHARGE (CFS) = ";
        rh::AppendStrForm(line, numbers[i + 1]);
      }
      lines.push_back(std::move(line));
    }
    benchmark::DoNotOptimize(lines.data());
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_OrdinateLines)->ArgName("way")->Arg(0)->Arg(1)->Arg(2);

// The whole deck write as a run performs it: text, temporary file, sync and rename.
void BM_WriteHec1Deck(benchmark::State& state) {
  ScratchDir dir;
  rh::StdFileSystem files;
  FixedClock clock;
  rh::OutputRequest request;
  request.Outputs.push_back({rh::OutputKind::Deck, dir / "RUN1.HC1"});
  for (auto _ : state)
    rh::RunBasin(Inputs(5), request, rh::RunServices{files, clock, nullptr});
}
BENCHMARK(BM_WriteHec1Deck)->Unit(benchmark::kMicrosecond);

// The printed report of the same run rendered to a two-page PDF document.
void BM_RenderReportPdf(benchmark::State& state) {
  const rh::Run s = rh::bench::ComputeRun(Inputs(5));
  FixedClock clock;
  for (auto _ : state) {
    auto printer = rh::QtPrinter::Pdf('.');
    rh::PrintReport(s, "RUN1.HC1", *printer, clock.ShortDate());
    benchmark::DoNotOptimize(printer->PdfBytes());
  }
}
BENCHMARK(BM_RenderReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace
