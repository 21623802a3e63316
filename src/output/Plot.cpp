#include "output/Plot.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/NumberForms.h"
#include "engine/Checked.h"
#include "engine/Pond.h"
#include "output/PondReport.h"
#include "platform/Paths.h"

namespace rh {

namespace {

using namespace checked;

constexpr Color kBlack{0, 0, 0};
constexpr Color kGrid{215, 215, 215};
constexpr Color kLine{20, 60, 140};
constexpr Color kPeak{200, 40, 40};
constexpr Color kRainFill{170, 200, 235};
constexpr Color kRainEdge{70, 110, 170};
constexpr Color kOutflow{215, 120, 20};
// The runs of an overlay, one colour each (their inflows drawn lighter when they are routed).
constexpr Color kRunColors[] = {{20, 60, 140},  {200, 90, 20}, {30, 130, 60},
                                {140, 40, 150}, {180, 30, 50}, {0, 130, 140}};
// A routed line carries at most this many points; longer ones keep every k-th state.
constexpr std::size_t kMostLinePoints = 4000;
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

// At most `most` characters of `text`, a longer one cut with "..." (UTF-8 sequences kept whole).
std::string Shortened(const std::string& text, std::size_t most) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
      continue;
    if (characters++ == most)
      return text.substr(0, i) + "...";
  }
  return text;
}

// A table's file by its name alone: where it lay says nothing on a chart.
std::string FileName(const std::string& path) {
  return path.substr(FolderPart(path).size());
}

std::string PondName(const Run& run) {
  return Shortened(run.Inputs.Pond ? FileName(run.Inputs.Pond->File) : std::string("the pond"), 40);
}

// The size of a one-line text that fits `room` pixels, at most `size`.
double FittedSize(const std::string& text, double size, double room, double unit,
                  bool bold = false) {
  const double wide = ApproximateTextWidth(text, size * unit, bold);
  return wide > room ? size * room / wide : size;
}

// A line that fits `room` pixels: at most `size`, shrunk no further than the chart's smallest
// text (19 of its 900 units, which a study prints at 8 pt), then cut with "...".
struct FittedLine {
  std::string text;
  double size;
};
FittedLine FitLine(const std::string& text, double size, double room, double unit,
                   bool bold = false) {
  constexpr double kLeast = 19;
  const double fitted = FittedSize(text, size, room, unit, bold);
  if (fitted >= kLeast)
    return {text, fitted};
  std::size_t end = text.size();
  const auto wide = [&](std::size_t n) {
    return ApproximateTextWidth(text.substr(0, n) + "...", kLeast * unit, bold);
  };
  while (end > 0 && wide(end) > room) {
    do
      --end;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80);
  }
  return {text.substr(0, end) + "...", kLeast};
}

// A mix of `color` with white: `share` of white.
Color Lighter(Color color, double share) {
  const auto mix = [&](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::lround(v + (255 - v) * share));
  };
  return {mix(color.red), mix(color.green), mix(color.blue)};
}

// The routed outflow as chart points: every state, or every k-th one (with the peak and the last)
// when there are more than a chart can show.
template <typename X, typename Y>
PolylineShape OutflowLine(const PondRouting& p, X x, Y y, Color color, double width) {
  const std::size_t count = p.States.size();
  const std::size_t stride = (count + kMostLinePoints - 1) / kMostLinePoints;
  const auto peak =
      static_cast<std::size_t>(p.PeakOutflowMinutes / static_cast<double>(p.StepMinutes));
  PolylineShape line{{}, color, width};
  line.points.reserve(count / stride + 3);
  for (std::size_t k = 0; k < count; ++k) {
    if (k % stride == 0 || k + 1 == count || k == peak)
      line.points.push_back({x(p.States[k].Minutes), y(p.States[k].OutflowCfs)});
  }
  return line;
}

struct LegendEntry {
  Color color;
  double width;
  std::string text;
  bool dashed = false;
};

// A framed legend whose top right corner is at `corner`: a short line of each entry's colour
// (dashed for a dashed line) before its text.
void DrawLegend(Canvas& c, Point corner, const std::vector<LegendEntry>& entries) {
  const double u = c.unit;
  double wide = 0;
  for (const LegendEntry& e : entries)
    wide = std::max(wide, ApproximateTextWidth(e.text, 19 * u, false));
  const double rowHeight = 28 * u;
  const double boxWidth = wide + 80 * u;
  const double left = corner.x - boxWidth;
  c.drawing.shapes.emplace_back(RectShape{left, corner.y, boxWidth,
                                          rowHeight * static_cast<double>(entries.size()) + 12 * u,
                                          Color{255, 255, 255}, true, kGrid, 1 * u});
  double y = corner.y + 6 * u + rowHeight / 2;
  for (const LegendEntry& e : entries) {
    if (e.dashed) {
      for (const double from : {12.0, 27.0, 42.0})
        c.Line({left + from * u, y}, {left + (from + 10) * u, y}, e.color, e.width);
    } else {
      c.Line({left + 12 * u, y}, {left + 52 * u, y}, e.color, e.width);
    }
    c.Text({left + 62 * u, c.Middle(y, 19)}, e.text, 19, TextAlign::Left);
    y += rowHeight;
  }
}

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
  const SpacedUnitWords units(kTextUnits);
  return "Design-storm hydrograph: Tc " + PlainNumber(in.TimeOfConcentration) + units.Minutes +
         ", P6 " + PlainNumber(in.SixHourRainfall) + units.Inches + ", A " +
         PlainNumber(in.BasinArea) + units.Acres + ", C " + PlainNumber(in.RunoffCoefficient) +
         ", Qp " + PlainNumber(in.PeakDischarge) + units.Cfs;
}

namespace {

// The plot's frame: discharge up from the lowest value (or 0) with head room above the highest
// for the hyetograph and the peak's label, time across from 0.
struct Frame {
  double yMin = 0, yMax = 0, yStep = 1, yRange = 1;
  double xMax = 1, xStep = 1;
  double left = 0, top = 0, right = 0, bottom = 0;
  double X(double minutes) const { return left + (right - left) * (minutes / xMax); }
  double Y(double cfs) const { return bottom - (bottom - top) * ((cfs - yMin) / yRange); }
};

Frame MakeFrame(double low, double high, double lastTime, double width, double height, double u) {
  Frame f;
  // A range too small for round ticks (all zero, or a few denormal cfs) is drawn on a unit scale.
  double span = Sub(high, low);
  if (!(span > 1e-100))
    span = 1;
  f.yStep = TickStep(Mul(span, 1.75), 8);
  f.yMin = Mul(std::floor(low / f.yStep), f.yStep);
  f.yMax = Mul(std::ceil(Add(low, Mul(span, 1.75)) / f.yStep), f.yStep);
  f.yRange = Sub(f.yMax, f.yMin);
  f.xMax = lastTime > 0 ? lastTime : 1;
  f.xStep = TickStep(f.xMax, 12);
  f.left = 150 * u;
  f.top = 110 * u;
  f.right = width - 130 * u;
  f.bottom = height - 120 * u;
  return f;
}

// Grid lines with their tick labels: discharge, then time.
void DrawGrid(Canvas& c, const Frame& f) {
  const double u = c.unit;
  for (const double v : Ticks(f.yMin, f.yMax, f.yStep)) {
    c.Line({f.left, f.Y(v)}, {f.right, f.Y(v)}, kGrid, 1);
    c.Text({f.left - 12 * u, c.Middle(f.Y(v), 20)}, Label(v), 20, TextAlign::Right);
  }
  for (const double t : Ticks(0, f.xMax, f.xStep)) {
    c.Line({f.X(t), f.top}, {f.X(t), f.bottom}, kGrid, 1);
    c.Text({f.X(t), f.bottom + 28 * u}, Label(t), 20, TextAlign::Centre);
  }
}

// A hydrograph as a line straight between its ordinates.
PolylineShape InflowLine(const Run& run, const Frame& f, Color color, double width) {
  const RunResult& r = run.Result;
  const double tc = run.Inputs.TimeOfConcentration;
  PolylineShape line{{}, color, width};
  line.points.reserve(static_cast<std::size_t>(r.OrdinateCount) + 1);
  for (long n = 0; n <= r.OrdinateCount; ++n)
    line.points.push_back({f.X(tc * static_cast<double>(n)), f.Y(r.Hydrograph(n))});
  return line;
}

// The lowest and highest discharge of a run, the routed outflow included, and its last time.
void Extent(const Run& run, double& low, double& high, double& lastTime) {
  const RunResult& r = run.Result;
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    low = std::min(low, r.Hydrograph(n));
    high = std::max(high, r.Hydrograph(n));
  }
  lastTime =
      std::max(lastTime, Mul(run.Inputs.TimeOfConcentration, static_cast<double>(r.OrdinateCount)));
  if (run.Routing) {
    high = std::max(high, run.Routing->PeakOutflowCfs);
    lastTime = std::max(lastTime, run.Routing->EndMinutes);
  }
}

// The frame of a chart of `runs`, its discharge range stretched to take in each allowable release.
Frame FrameOf(const std::vector<const Run*>& runs,
              const std::vector<std::optional<double>>& allowableCfs, double width, double height,
              double u) {
  double low = 0;
  double high = 0;
  double lastTime = 0;
  for (const Run* run : runs)
    Extent(*run, low, high, lastTime);
  for (std::size_t i = 0; i < runs.size() && i < allowableCfs.size(); ++i) {
    if (const std::optional<double>& cfs = allowableCfs[i]) {
      low = std::min(low, *cfs);
      high = std::max(high, *cfs);
    }
  }
  return MakeFrame(low, high, lastTime, width, height, u);
}

// A release limit: a horizontal line at `cfs` across the plot, dashes of about 24 units with gaps
// of about 14, stretched so that the first starts at the left edge and the last ends at the right
// (at most 400 of them: a very wide chart gets longer dashes).
void DashedLine(Canvas& c, const Frame& f, double cfs, Color color, double width) {
  constexpr double kDashShare = 24.0 / 38.0;  // of a dash and its gap
  const double span = f.right - f.left;
  if (!(span > 0))
    return;
  const double fits = std::round(span / (38 * c.unit) + (1 - kDashShare));
  const int count = fits >= 400 ? 400 : fits >= 1 ? static_cast<int>(fits) : 1;
  const double period = span / (count - 1 + kDashShare);
  const double y = f.Y(cfs);
  for (int k = 0; k < count; ++k) {
    const double from = f.left + period * k;
    const double to = k + 1 == count ? f.right : from + period * kDashShare;
    c.Line({from, y}, {to, y}, color, width);
  }
}

std::string Flow(double cfs) {
  return PlainNumber(RoundedHalfUp(cfs, kFigureFlowScale));
}

std::string Stage(double feet) {
  return PlainNumber(RoundedHalfUp(feet, kFigureStageScale));
}

}  // namespace

Drawing PlotDrawing(const Run& run, double width, double height,
                    std::optional<double> allowableCfs) {
  const SpacedUnitWords units(kTextUnits);
  const RunResult& r = run.Result;
  const double tc = run.Inputs.TimeOfConcentration;  // minutes per ordinate
  const long count = r.OrdinateCount;                // last reported ordinate
  const PondRouting* pond = run.Routing.get();

  Drawing d;
  d.width = width;
  d.height = height;
  d.title = PlotTitle(run.Inputs);
  d.description = "Rational-method design-storm runoff hydrograph";
  Canvas c{d, height / 900.0};
  const double u = c.unit;

  // Scales. Discharge: from the lowest ordinate (or 0) up, with head room above the peak for the
  // hyetograph and the peak's label. Rainfall: its tallest block takes 30 % of the height.
  double rainHigh = 0;
  for (long n = 0; n <= count; ++n)
    rainHigh = std::max(rainHigh, r.Hyetograph(n));
  if (!(rainHigh > 1e-100))
    rainHigh = 0;
  const Frame f = FrameOf({&run}, {allowableCfs}, width, height, u);
  const double rainFull = rainHigh > 0 ? Div(rainHigh, 0.3) : 1;  // in/hr at the plot's bottom
  const auto X = [&](double minutes) { return f.X(minutes); };
  const auto Y = [&](double cfs) { return f.Y(cfs); };
  const auto YRain = [&](double inPerHour) {
    return f.top + (f.bottom - f.top) * inPerHour / rainFull;
  };

  // Title: the five inputs; below it, what is drawn (for a routed run, the pond and its highest
  // stage).
  // Both lines shrink to fit a narrow window; the chart files are wide enough for their full size.
  const std::string title = PlotTitle(run.Inputs);
  const FittedLine heading = FitLine(title, 30, width - 40 * u, u, true);
  c.Text({width / 2, 50 * u}, heading.text, heading.size, TextAlign::Centre, true);
  if (pond) {
    const std::string line = "Outflow through " + PondName(run) + " in " +
                             std::to_string(pond->StepMinutes) + units.Minutes +
                             " steps: maximum stage " + Stage(pond->MaxStageFeet) + units.Feet +
                             " at " + PlainNumber(pond->MaxStorageMinutes) + units.Minutes +
                             "; bars along the top: rainfall blocks (in/hr, right scale)";
    const FittedLine fitted = FitLine(line, 21, width - 40 * u, u);
    c.Text({width / 2, 84 * u}, fitted.text, fitted.size, TextAlign::Centre);
  } else {
    const std::string line =
        std::to_string(count + 1) + " ordinates, one every " + PlainNumber(tc) + units.Minutes +
        "; bars along the top: the design storm's rainfall blocks (in/hr, right scale)";
    const FittedLine fitted = FitLine(line, 21, width - 40 * u, u);
    c.Text({width / 2, 84 * u}, fitted.text, fitted.size, TextAlign::Centre);
  }

  DrawGrid(c, f);
  if (rainHigh > 0) {
    const double rainStep = TickStep(rainHigh, 4);
    for (const double v : Ticks(0, std::ceil(rainHigh / rainStep) * rainStep, rainStep)) {
      c.Line({f.right, YRain(v)}, {f.right + 8 * u, YRain(v)}, kBlack, 2);
      c.Text({f.right + 14 * u, c.Middle(YRain(v), 20)}, Label(v), 20, TextAlign::Left);
    }
  }

  // The hyetograph: each rainfall block hangs from the top over the Tc that ends at its ordinate.
  for (long n = 0; n <= count; ++n) {
    const double rain = r.Hyetograph(n);
    if (!(rain > 0))
      continue;
    const double from = std::max(X(tc * static_cast<double>(n - 1)), f.left);
    d.shapes.emplace_back(RectShape{from, f.top, X(tc * static_cast<double>(n)) - from,
                                    YRain(rain) - f.top, kRainFill, true, kRainEdge, 1 * u});
  }

  // Axes: discharge on the left, time along zero discharge, rainfall on the right.
  c.Line({f.left, f.top}, {f.left, f.bottom}, kBlack, 2);
  c.Line({f.left, Y(0)}, {f.right, Y(0)}, kBlack, 2);
  c.Line({f.right, f.top}, {f.right, f.bottom}, kBlack, 2);
  if (allowableCfs)
    DashedLine(c, f, *allowableCfs, kOutflow, 2);

  // The hydrograph, straight between ordinates.
  d.shapes.emplace_back(InflowLine(run, f, kLine, 3 * u));

  // The peak, marked and labelled with its value and time.
  const double peak = r.Hydrograph(r.PeakIndex);
  const double peakTime = tc * static_cast<double>(r.PeakIndex);
  d.shapes.emplace_back(CircleShape{{X(peakTime), Y(peak)}, 7 * u, kPeak});
  const std::string label = std::string(pond ? "Peak inflow " : "Peak ") + PlainNumber(peak) +
                            units.Cfs + " at " + PlainNumber(peakTime) + units.Minutes;
  const double half = ApproximateTextWidth(label, 22 * u, true) / 2;
  const double centre =
      std::clamp(X(peakTime), f.left + half, std::max(f.left + half, f.right - half));
  c.Text({centre, Y(std::max(peak, 0.0)) - 18 * u}, label, 22, TextAlign::Centre, true);

  // The routed outflow, its peak marked and labelled to its right, and which line is which.
  std::vector<LegendEntry> legend;
  if (pond) {
    d.shapes.emplace_back(OutflowLine(*pond, X, Y, kOutflow, 3 * u));
    const Point top{X(pond->PeakOutflowMinutes), Y(pond->PeakOutflowCfs)};
    d.shapes.emplace_back(CircleShape{top, 7 * u, kPeak});
    const std::string outLabel = "Peak outflow " + Flow(pond->PeakOutflowCfs) + units.Cfs + " at " +
                                 PlainNumber(pond->PeakOutflowMinutes) + units.Minutes;
    const double wide = ApproximateTextWidth(outLabel, 22 * u, true);
    const double from = std::clamp(top.x + 14 * u, f.left, std::max(f.left, f.right - wide));
    c.Text({from, top.y - 14 * u}, outLabel, 22, TextAlign::Left, true);
    legend = {{kLine, 3, "Inflow: the design-storm hydrograph"},
              {kOutflow, 3, "Outflow through " + PondName(run)}};
  }
  if (allowableCfs) {
    if (!pond)
      legend.push_back({kLine, 3, "Inflow: the design-storm hydrograph"});
    legend.push_back({kOutflow, 2, "Allowable release, " + Flow(*allowableCfs) + units.Cfs, true});
  }
  if (!legend.empty())
    DrawLegend(c, {f.right - 12 * u, f.top + 12 * u}, legend);

  // Axis titles with units.
  c.Text({(f.left + f.right) / 2, f.bottom + 78 * u}, "Time (min)", 24, TextAlign::Centre);
  c.Text({44 * u, (f.top + f.bottom) / 2}, "Discharge (cfs)", 24, TextAlign::Centre, false, 90);
  c.Text({width - 24 * u, (f.top + f.bottom) / 2}, "Rainfall (in/hr)", 24, TextAlign::Centre, false,
         90);
  return d;
}

std::string RunLabel(const Run& run) {
  const RunInputs& in = run.Inputs;
  if (in.Rainfall && !in.Rainfall->Ari.empty())
    return in.Rainfall->Ari + "-yr";
  return "P6 " + PlainNumber(in.SixHourRainfall) + " " + kTextUnits.Inches;
}

Drawing PlotDrawing(const std::vector<const Run*>& runs, double width, double height,
                    const std::vector<std::optional<double>>& allowableCfs) {
  const SpacedUnitWords units(kTextUnits);
  Drawing d;
  d.width = width;
  d.height = height;
  d.description = "Rational-method design-storm runoff hydrographs of one basin";
  Canvas c{d, height / 900.0};
  const double u = c.unit;

  bool routed = false;
  for (const Run* run : runs)
    routed = routed || run->Routing;
  const Frame f = FrameOf(runs, allowableCfs, width, height, u);

  // Title: the basin; below it, the storms and the pond.
  if (!runs.empty()) {
    const RunInputs& in = runs.front()->Inputs;
    d.title = "Design-storm hydrographs: Tc " + PlainNumber(in.TimeOfConcentration) +
              units.Minutes + ", A " + PlainNumber(in.BasinArea) + units.Acres + ", C " +
              PlainNumber(in.RunoffCoefficient);
    const FittedLine heading = FitLine(d.title, 30, width - 40 * u, u, true);
    c.Text({width / 2, 50 * u}, heading.text, heading.size, TextAlign::Centre, true);
    std::string line = std::to_string(runs.size()) + " design storms";
    if (in.Rainfall)
      line += " from " + Shortened(FileName(in.Rainfall->File), 40);
    if (routed)
      line += "; outflows through " + PondName(*runs.front()) +
              " (lighter lines: the inflows), each with its maximum stage";
    const FittedLine fitted = FitLine(line, 21, width - 40 * u, u);
    c.Text({width / 2, 84 * u}, fitted.text, fitted.size, TextAlign::Centre);
  }

  DrawGrid(c, f);
  c.Line({f.left, f.top}, {f.left, f.bottom}, kBlack, 2);
  c.Line({f.left, f.Y(0)}, {f.right, f.Y(0)}, kBlack, 2);
  // The allowable releases under the hydrographs, so that the hydrographs stay whole.
  const auto allowableOf = [&](std::size_t i) {
    return i < allowableCfs.size() ? allowableCfs[i] : std::nullopt;
  };
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (const std::optional<double> cfs = allowableOf(i))
      DashedLine(c, f, *cfs, kRunColors[i % std::size(kRunColors)], 2);
  }

  std::vector<LegendEntry> legend;
  const auto X = [&](double minutes) { return f.X(minutes); };
  const auto Y = [&](double cfs) { return f.Y(cfs); };
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Run& run = *runs[i];
    const Color color = kRunColors[i % std::size(kRunColors)];
    const Color inflowColor = run.Routing ? Lighter(color, 0.55) : color;
    const std::string name = RunLabel(run);
    d.shapes.emplace_back(InflowLine(run, f, inflowColor, 3 * u));
    const RunResult& r = run.Result;
    const double peak = r.Hydrograph(r.PeakIndex);
    const double peakTime = run.Inputs.TimeOfConcentration * static_cast<double>(r.PeakIndex);
    d.shapes.emplace_back(CircleShape{{X(peakTime), Y(peak)}, 6 * u, inflowColor});
    legend.push_back(
        {inflowColor, 3,
         name + (run.Routing ? " inflow" : "") + ", peak " + PlainNumber(peak) + units.Cfs});
    if (const PondRouting* pond = run.Routing.get()) {
      d.shapes.emplace_back(OutflowLine(*pond, X, Y, color, 3 * u));
      d.shapes.emplace_back(
          CircleShape{{X(pond->PeakOutflowMinutes), Y(pond->PeakOutflowCfs)}, 7 * u, color});
      legend.push_back({color, 3,
                        name + " outflow, peak " + Flow(pond->PeakOutflowCfs) + units.Cfs +
                            ", maximum stage " + Stage(pond->MaxStageFeet) + units.Feet});
    }
    if (const std::optional<double> cfs = allowableOf(i))
      legend.push_back({color, 2, name + " allowable, " + Flow(*cfs) + units.Cfs, true});
  }
  if (!legend.empty())
    DrawLegend(c, {f.right - 12 * u, f.top + 12 * u}, legend);

  c.Text({(f.left + f.right) / 2, f.bottom + 78 * u}, "Time (min)", 24, TextAlign::Centre);
  c.Text({44 * u, (f.top + f.bottom) / 2}, "Discharge (cfs)", 24, TextAlign::Centre, false, 90);
  return d;
}

PlotArea PlotAreaOf(const std::vector<const Run*>& runs, double width, double height,
                    const std::vector<std::optional<double>>& allowableCfs) {
  const Frame f = FrameOf(runs, allowableCfs, width, height, height / 900.0);
  return {f.left, f.top, f.right, f.bottom, f.xMax, f.yMin, f.yMax};
}

}  // namespace rh
