// The benchmarks' entry point: a GUI session for the report's fonts and printer, then the runs.
#include <benchmark/benchmark.h>

#include "platform/qt/GuiSession.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  rh::GuiSession gui;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
