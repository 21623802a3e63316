#include "output/Plot.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/Checked.h"
#include "output/TextForms.h"

namespace rh {

namespace {

using namespace checked;

constexpr Color kBlack{0, 0, 0};
constexpr Color kGrid{215, 215, 215};
constexpr Color kLine{20, 60, 140};
constexpr Color kPeak{200, 40, 40};
constexpr Color kRainFill{170, 200, 235};
constexpr Color kRainEdge{70, 110, 170};
constexpr int kMostTicks = 60;  // an axis never carries more (a step always gives fewer)

// A round tick spacing (1, 2 or 5 x 10^k) giving at most `ticks` intervals over `range` (> 0).
double TickStep(double range, int ticks) {
  const double raw = range / ticks;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double step : {1.0, 2.0, 5.0}) {
    if (raw <= step * magnitude)
      return step * magnitude;
  }
  return 10 * magnitude;
}

// Tick values from `from` to `to` in steps of `step`.
std::vector<double> Ticks(double from, double to, double step) {
  std::vector<double> values;
  const double count = std::floor((to - from) / step + 1e-9);
  for (int k = 0; k <= count && k <= kMostTicks; ++k)
    values.push_back(from + k * step);
  return values;
}

std::string Label(double value) {
  return PlainNumber(std::fabs(value) < 1e-12 ? 0.0 : value);
}

struct Canvas {
  Drawing& drawing;
  double unit;  // pixels per pixel of the 900 px tall chart

  void Line(Point from, Point to, Color color, double width) {
    drawing.shapes.emplace_back(LineShape{from, to, color, width * unit});
  }
  void Text(Point at, std::string text, double size, TextAlign align, bool bold = false,
            double degrees = 0) {
    drawing.shapes.emplace_back(
        TextShape{at, std::move(text), size * unit, bold, align, degrees, kBlack});
  }
  // Baseline that centres a line of text of `size` on `y`.
  double Middle(double y, double size) const {
    return y + (kDrawingAscent - kDrawingDescent) / 2 * size * unit;
  }
};

}  // namespace

std::optional<PlotFormat> PlotFormatOf(const std::string& path) {
  std::string lower = path;
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto endsWith = [&](const char* suffix) {
    const std::string s(suffix);
    return lower.size() > s.size() && lower.compare(lower.size() - s.size(), s.size(), s) == 0;
  };
  if (endsWith(".svg"))
    return PlotFormat::Svg;
  if (endsWith(".png"))
    return PlotFormat::Png;
  return std::nullopt;
}

std::string PlotTitle(const RunInputs& in) {
  return "Design-storm hydrograph: Tc " + PlainNumber(in.TimeOfConcentration) + " min, P6 " +
         PlainNumber(in.SixHourRainfall) + " in, A " + PlainNumber(in.BasinArea) + " acres, C " +
         PlainNumber(in.RunoffCoefficient) + ", Qp " + PlainNumber(in.PeakDischarge) + " cfs";
}

Drawing PlotDrawing(const Run& run, double width, double height) {
  const RunResult& r = run.Result;
  const double tc = run.Inputs.TimeOfConcentration;  // minutes per ordinate
  const long count = r.OrdinateCount;                // last reported ordinate

  Drawing d;
  d.width = width;
  d.height = height;
  d.title = PlotTitle(run.Inputs);
  d.description = "Rational-method design-storm runoff hydrograph";
  Canvas c{d, height / 900.0};
  const double u = c.unit;

  // Scales. Discharge: from the lowest ordinate (or 0) up, with head room above the peak for the
  // hyetograph and the peak's label. Rainfall: its tallest block takes 30 % of the height.
  double low = 0;
  double high = 0;
  double rainHigh = 0;
  for (long n = 0; n <= count; ++n) {
    low = std::min(low, r.Hydrograph(n));
    high = std::max(high, r.Hydrograph(n));
    rainHigh = std::max(rainHigh, r.Hyetograph(n));
  }
  // A range too small for round ticks (all zero, or a few denormal cfs) is drawn on a unit scale.
  double span = Sub(high, low);
  if (!(span > 1e-100))
    span = 1;
  if (!(rainHigh > 1e-100))
    rainHigh = 0;
  const double yStep = TickStep(Mul(span, 1.75), 8);
  const double yMin = Mul(std::floor(low / yStep), yStep);
  const double yMax = Mul(std::ceil(Add(low, Mul(span, 1.75)) / yStep), yStep);
  const double yRange = Sub(yMax, yMin);
  const double lastTime = Mul(tc, static_cast<double>(count));
  const double xMax = lastTime > 0 ? lastTime : 1;
  const double xStep = TickStep(xMax, 12);
  const double rainFull = rainHigh > 0 ? Div(rainHigh, 0.3) : 1;  // in/hr at the plot's bottom

  const double left = 150 * u;
  const double top = 110 * u;
  const double right = width - 130 * u;
  const double bottom = height - 120 * u;
  const auto X = [&](double minutes) { return left + (right - left) * (minutes / xMax); };
  const auto Y = [&](double cfs) { return bottom - (bottom - top) * ((cfs - yMin) / yRange); };
  const auto YRain = [&](double inPerHour) { return top + (bottom - top) * inPerHour / rainFull; };

  // Title: the five inputs; below it, what is drawn.
  c.Text({width / 2, 50 * u}, PlotTitle(run.Inputs), 30, TextAlign::Centre, true);
  c.Text({width / 2, 84 * u},
         std::to_string(count + 1) + " ordinates, one every " + PlainNumber(tc) +
             " min; bars along the top: the design storm's rainfall blocks (in/hr, right scale)",
         21, TextAlign::Centre);

  // Grid and tick labels.
  for (const double v : Ticks(yMin, yMax, yStep)) {
    c.Line({left, Y(v)}, {right, Y(v)}, kGrid, 1);
    c.Text({left - 12 * u, c.Middle(Y(v), 20)}, Label(v), 20, TextAlign::Right);
  }
  for (const double t : Ticks(0, xMax, xStep)) {
    c.Line({X(t), top}, {X(t), bottom}, kGrid, 1);
    c.Text({X(t), bottom + 28 * u}, Label(t), 20, TextAlign::Centre);
  }
  if (rainHigh > 0) {
    const double rainStep = TickStep(rainHigh, 4);
    for (const double v : Ticks(0, std::ceil(rainHigh / rainStep) * rainStep, rainStep)) {
      c.Line({right, YRain(v)}, {right + 8 * u, YRain(v)}, kBlack, 2);
      c.Text({right + 14 * u, c.Middle(YRain(v), 20)}, Label(v), 20, TextAlign::Left);
    }
  }

  // The hyetograph: each rainfall block hangs from the top over the Tc that ends at its ordinate.
  for (long n = 0; n <= count; ++n) {
    const double rain = r.Hyetograph(n);
    if (!(rain > 0))
      continue;
    const double from = std::max(X(tc * static_cast<double>(n - 1)), left);
    d.shapes.emplace_back(RectShape{from, top, X(tc * static_cast<double>(n)) - from,
                                    YRain(rain) - top, kRainFill, true, kRainEdge, 1 * u});
  }

  // Axes: discharge on the left, time along zero discharge, rainfall on the right.
  c.Line({left, top}, {left, bottom}, kBlack, 2);
  c.Line({left, Y(0)}, {right, Y(0)}, kBlack, 2);
  c.Line({right, top}, {right, bottom}, kBlack, 2);

  // The hydrograph, straight between ordinates.
  PolylineShape line{{}, kLine, 3 * u};
  line.points.reserve(static_cast<std::size_t>(count) + 1);
  for (long n = 0; n <= count; ++n)
    line.points.push_back({X(tc * static_cast<double>(n)), Y(r.Hydrograph(n))});
  d.shapes.emplace_back(std::move(line));

  // The peak, marked and labelled with its value and time.
  const double peak = r.Hydrograph(r.PeakIndex);
  const double peakTime = tc * static_cast<double>(r.PeakIndex);
  d.shapes.emplace_back(CircleShape{{X(peakTime), Y(peak)}, 7 * u, kPeak});
  const std::string label =
      "Peak " + PlainNumber(peak) + " cfs at " + PlainNumber(peakTime) + " min";
  const double half = ApproximateTextWidth(label, 22 * u, true) / 2;
  const double centre = std::clamp(X(peakTime), left + half, std::max(left + half, right - half));
  c.Text({centre, Y(std::max(peak, 0.0)) - 18 * u}, label, 22, TextAlign::Centre, true);

  // Axis titles with units.
  c.Text({(left + right) / 2, bottom + 78 * u}, "Time (min)", 24, TextAlign::Centre);
  c.Text({44 * u, (top + bottom) / 2}, "Discharge (cfs)", 24, TextAlign::Centre, false, 90);
  c.Text({width - 24 * u, (top + bottom) / 2}, "Rainfall (in/hr)", 24, TextAlign::Centre, false,
         90);
  return d;
}

}  // namespace rh
