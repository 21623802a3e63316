#include <benchmark/benchmark.h>
#include <cstdlib>

#include <filesystem>
#include <string>

#include "app/RunBasin.h"
#include "engine/Hydrograph.h"
#include "output/Hec1Deck.h"
#include "output/PrintedReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtPrinter.h"

namespace {

class FixedClock : public rh::Clock {
 public:
  std::string ShortDate() override { return "12/7/2026"; }
};

// A run with the HEC-1 switch on: Tc 5 gives the longest hydrograph, 83 ordinates.
rh::RunInputs Inputs(double tc) {
  rh::RunInputs in;
  in.ZeroTail = rh::kZeroTailHec1;
  in.TimeOfConcentration = tc;
  in.SixHourRainfall = 2.5;
  in.BasinArea = 100;
  in.RunoffCoefficient = 0.85;
  in.PeakDischarge = 250;
  return in;
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
  const rh::Run s = rh::ComputeRun(Inputs(5));
  for (auto _ : state) {
    auto text = rh::Hec1DeckText(s, "C:\\RUNS\\RUN1.HC1", "12/7/2026");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_Hec1DeckText);

// The whole deck write as a run performs it: text, temporary file, sync and rename.
void BM_WriteHec1Deck(benchmark::State& state) {
  ScratchDir dir;
  rh::StdFileSystem files;
  FixedClock clock;
  rh::OutputRequest request;
  request.DeckPath = dir / "RUN1.HC1";
  for (auto _ : state)
    rh::RunBasin(Inputs(5), request, rh::RunServices{files, clock, nullptr});
}
BENCHMARK(BM_WriteHec1Deck)->Unit(benchmark::kMicrosecond);

// The printed report of the same run rendered to a two-page PDF file.
void BM_RenderReportPdf(benchmark::State& state) {
  ScratchDir dir;
  const rh::Run s = rh::ComputeRun(Inputs(5));
  const std::string pdf = dir / "report.pdf";
  FixedClock clock;
  for (auto _ : state) {
    auto printer = rh::QtPrinter::PdfFile(pdf, '.');
    rh::PrintReport(s, "RUN1.HC1", *printer, clock.ShortDate());
  }
}
BENCHMARK(BM_RenderReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace
