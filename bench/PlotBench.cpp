#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "Plot.h"
#include "app/Init.h"
#include "engine/Hydrograph.h"
#include "platform/PngEncoder.h"

namespace {

rh::Init Basin(long tc) {
  rh::Init s;
  s.TimeOfConcentration = static_cast<double>(tc);
  s.SixHourRainfall = 2.5;
  s.BasinArea = 100;
  s.RunoffCoefficient = 0.85;
  s.Discharge(1) = 250;
  rh::ComputeHydrograph(s);
  return s;
}

// One basin's chart, from computed hydrograph to file bytes.
void BM_Plot(benchmark::State& state) {
  const rh::Init s = Basin(state.range(1));
  const auto format = state.range(0) == 0 ? rh::cli::PlotFormat::Svg : rh::cli::PlotFormat::Png;
  for (auto _ : state) {
    const std::string bytes = rh::cli::PlotBytes(s, format);
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
  const rh::Init s = Basin(state.range(1));
  QImage image(rh::cli::kPlotWidth, rh::cli::kPlotHeight, QImage::Format_RGB32);
  std::size_t size = 0;
  for (auto _ : state) {
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      rh::cli::DrawHydrograph(painter, QRectF(0, 0, rh::cli::kPlotWidth, rh::cli::kPlotHeight), s);
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
