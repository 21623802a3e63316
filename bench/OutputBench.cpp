#include <benchmark/benchmark.h>
#include <cstdlib>

#include <filesystem>
#include <string>

#include "app/Init.h"
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
rh::Init Run(double tc, const std::string& path) {
  rh::Init s;
  s.Hec1Enabled = rh::kTrue;
  s.ReportPath = path;
  s.TimeOfConcentration = tc;
  s.SixHourRainfall = 2.5;
  s.BasinArea = 100;
  s.RunoffCoefficient = 0.85;
  s.Discharge(1) = 250;
  rh::ComputeHydrograph(s);
  return s;
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
  const rh::Init s = Run(5, "C:\\RUNS\\RUN1.HC1");
  for (auto _ : state) {
    auto text = rh::Hec1DeckText(s, "12/7/2026");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_Hec1DeckText);

// The whole deck write as a run performs it: text, temporary file, sync and rename.
void BM_WriteHec1Deck(benchmark::State& state) {
  ScratchDir dir;
  const rh::Init s = Run(5, dir / "RUN1.HC1");
  rh::StdFileSystem files;
  FixedClock clock;
  for (auto _ : state)
    rh::WriteHec1Deck(s, files, clock);
}
BENCHMARK(BM_WriteHec1Deck)->Unit(benchmark::kMicrosecond);

// The printed report of the same run rendered to a two-page PDF file.
void BM_RenderReportPdf(benchmark::State& state) {
  ScratchDir dir;
  const rh::Init s = Run(5, dir / "RUN1.HC1");
  const std::string pdf = dir / "report.pdf";
  FixedClock clock;
  for (auto _ : state) {
    auto printer = rh::QtPrinter::PdfFile(pdf, '.');
    rh::PrintReport(s, *printer, clock);
  }
}
BENCHMARK(BM_RenderReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace
