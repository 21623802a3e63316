#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "SampleBasin.h"
#include "output/Plot.h"
#include "platform/PngEncoder.h"
#include "platform/qt/DrawingPainter.h"
#include "platform/qt/QtOutputDevices.h"

namespace {

rh::Run Basin(long tc) {
  return rh::bench::ComputeRun(rh::bench::SampleBasin(static_cast<double>(tc)));
}

// One basin's chart, from computed hydrograph to file bytes.
void BM_Plot(benchmark::State& state) {
  const rh::Run run = Basin(state.range(1));
  rh::QtOutputDevices devices;
  const bool png = state.range(0) != 0;
  for (auto _ : state) {
    const rh::Drawing drawing = rh::PlotDrawing(run);
    const std::string bytes = png ? devices.PngBytes(drawing) : rh::DrawingSvg(drawing);
    benchmark::DoNotOptimize(bytes.data());
  }
}
// Format (0 SVG, 1 PNG) and Tc (5 minutes gives the most ordinates).
BENCHMARK(BM_Plot)
    ->ArgNames({"png", "tc"})
    ->Args({0, 5})
    ->Args({1, 5})
    ->Args({1, 10})
    ->Unit(benchmark::kMillisecond);

// The chart drawn into an image and encoded as PNG, the file size as counter "bytes".
// Encoder 0: QImage::save at quality 80 (zlib's fastest level, every row filter tried);
// 1: EncodePng; 2: no encoding, the drawing alone.
void BM_PngChart(benchmark::State& state) {
  const rh::Drawing drawing = rh::PlotDrawing(Basin(state.range(1)));
  QImage image(rh::kPlotWidth, rh::kPlotHeight, QImage::Format_RGB32);
  std::size_t size = 0;
  for (auto _ : state) {
    {
      QPainter painter(&image);
      rh::qt::PaintDrawing(painter, drawing);
    }
    if (state.range(0) == 0) {
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      image.save(&buffer, "PNG", 80);
      size = static_cast<std::size_t>(bytes.size());
    } else if (state.range(0) == 1) {
      size = rh::EncodePng(image.constBits(), image.width(), image.height(),
                           static_cast<std::size_t>(image.bytesPerLine()))
                 .size();
    }
    benchmark::DoNotOptimize(size);
  }
  state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_PngChart)
    ->ArgNames({"encoder", "tc"})
    ->ArgsProduct({{0, 1, 2}, {5, 10}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
