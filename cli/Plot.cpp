#include "Plot.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "output/TextForms.h"
#include "platform/Faults.h"

namespace rh::cli {

namespace {

// A round tick spacing (1, 2 or 5 x 10^k) giving about `ticks` intervals over `range`.
double TickStep(double range, int ticks) {
  if (!(range > 0) || !std::isfinite(range))
    return 1;
  const double raw = range / ticks;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if (raw <= step * magnitude)
      return step * magnitude;
  }
  return 10 * magnitude;
}

QString Number(double value) {
  return QString::fromStdString(PlainNumber(value));
}

QFont ChartFont(double pixelSize, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(static_cast<int>(pixelSize));
  font.setBold(bold);
  return font;
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool PlotFormatOf(const std::string& path, PlotFormat& format) {
  const std::string lower = Lower(path);
  if (EndsWith(lower, ".svg") && lower.size() > 4) {
    format = PlotFormat::Svg;
    return true;
  }
  if (EndsWith(lower, ".png") && lower.size() > 4) {
    format = PlotFormat::Png;
    return true;
  }
  return false;
}

std::string PlotTitle(const Init& state) {
  return "Design-storm hydrograph: Tc " + PlainNumber(state.TimeOfConcentration) + " min, P6 " +
         PlainNumber(state.SixHourRainfall) + " in, A " + PlainNumber(state.BasinArea) +
         " acres, C " + PlainNumber(state.RunoffCoefficient) + ", Qp " +
         PlainNumber(state.Discharge(1)) + " cfs";
}

void DrawHydrograph(QPainter& painter, const QRectF& frame, const Init& state) {
  const double tc = state.TimeOfConcentration;  // minutes per ordinate
  const long count = state.OrdinateCount;       // last reported ordinate

  double low = 0;
  double high = 0;
  for (long n = 0; n <= count; ++n) {
    low = std::min(low, state.Hydrograph(n));
    high = std::max(high, state.Hydrograph(n));
  }
  if (high - low <= 0)
    high = low + 1;
  const double yStep = TickStep(high - low, 8);
  // Head room above the tallest bar for the peak label.
  const double yMax = std::ceil((high + (high - low) * 0.1) / yStep) * yStep;
  const double yMin = std::floor(low / yStep) * yStep;
  const double xMax = tc * static_cast<double>(count + 1);
  const double xStep = TickStep(xMax, 12);

  const double unit = frame.height() / 900.0;  // sizes are given for a 900 px tall chart
  const QRectF plot(frame.left() + 150 * unit, frame.top() + 110 * unit, frame.width() - 200 * unit,
                    frame.height() - 230 * unit);
  const auto X = [&](double minutes) { return plot.left() + plot.width() * minutes / xMax; };
  const auto Y = [&](double cfs) {
    return plot.bottom() - plot.height() * (cfs - yMin) / (yMax - yMin);
  };

  painter.save();
  // Bars, grid and axes are upright: drawn without antialiasing they stay crisp and draw several
  // times faster. Text keeps its own antialiasing.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(frame, Qt::white);

  // Title: the five inputs; below it, what the bars are.
  painter.setPen(Qt::black);
  painter.setFont(ChartFont(30 * unit, true));
  painter.drawText(QRectF(frame.left(), frame.top() + 18 * unit, frame.width(), 44 * unit),
                   Qt::AlignCenter, QString::fromStdString(PlotTitle(state)));
  painter.setFont(ChartFont(21 * unit));
  painter.drawText(QRectF(frame.left(), frame.top() + 60 * unit, frame.width(), 32 * unit),
                   Qt::AlignCenter,
                   QStringLiteral("%1 ordinates, one every %2 min (each bar holds its ordinate for "
                                  "one Tc)")
                       .arg(count + 1)
                       .arg(Number(tc)));

  // Grid and tick labels.
  const QFont tickFont = ChartFont(20 * unit);
  painter.setFont(tickFont);
  const QPen gridPen(QColor(215, 215, 215), 1 * unit);
  const QPen axisPen(Qt::black, 2 * unit);
  for (double y = yMin; y <= yMax + yStep * 1e-9; y += yStep) {
    painter.setPen(gridPen);
    painter.drawLine(QPointF(plot.left(), Y(y)), QPointF(plot.right(), Y(y)));
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(frame.left(), Y(y) - 15 * unit, plot.left() - frame.left() - 12 * unit, 30 * unit),
        Qt::AlignRight | Qt::AlignVCenter, Number(std::round(y * 1e9) / 1e9));
  }
  for (double x = 0; x <= xMax + xStep * 1e-9; x += xStep) {
    painter.setPen(gridPen);
    painter.drawLine(QPointF(X(x), plot.top()), QPointF(X(x), plot.bottom()));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(X(x) - 60 * unit, plot.bottom() + 8 * unit, 120 * unit, 30 * unit),
                     Qt::AlignHCenter | Qt::AlignTop, Number(std::round(x * 1e9) / 1e9));
  }

  // One bar per ordinate, from its time to the next ordinate's.
  painter.setPen(QPen(QColor(20, 60, 120), 1 * unit));
  painter.setBrush(QColor(70, 130, 200));
  for (long n = 0; n <= count; ++n) {
    const double q = state.Hydrograph(n);
    if (q == 0)
      continue;
    const double t = tc * static_cast<double>(n);
    painter.drawRect(
        QRectF(QPointF(X(t), Y(std::max(q, 0.0))), QPointF(X(t + tc), Y(std::min(q, 0.0)))));
  }
  painter.setBrush(Qt::NoBrush);

  // Axes.
  painter.setPen(axisPen);
  painter.drawLine(QPointF(plot.left(), Y(0)), QPointF(plot.right(), Y(0)));
  painter.drawLine(plot.bottomLeft(), plot.topLeft());

  // The peak, labelled with its value and time.
  const long peakIndex = state.PeakIndex;
  if (peakIndex >= 0 && peakIndex <= count) {
    const double peak = state.Hydrograph(peakIndex);
    const double peakTime = tc * static_cast<double>(peakIndex);
    const QString label =
        QStringLiteral("Peak %1 cfs at %2 min").arg(Number(peak), Number(peakTime));
    painter.setFont(ChartFont(22 * unit, true));
    const QFontMetricsF labelMetrics(painter.font());
    const double width = labelMetrics.horizontalAdvance(label) + 10 * unit;
    double left = X(peakTime + tc / 2) - width / 2;
    left = std::clamp(left, plot.left(), plot.right() - width);
    const double top = Y(std::max(peak, 0.0)) - 40 * unit;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left, top, width, 32 * unit), Qt::AlignCenter, label);
  }

  // Axis titles with units.
  painter.setFont(ChartFont(24 * unit));
  painter.drawText(QRectF(plot.left(), plot.bottom() + 48 * unit, plot.width(), 36 * unit),
                   Qt::AlignCenter, QStringLiteral("Time (min)"));
  painter.translate(frame.left() + 34 * unit, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, -18 * unit, plot.height(), 36 * unit),
                   Qt::AlignCenter, QStringLiteral("Discharge (cfs)"));
  painter.restore();
}

std::string PlotBytes(const Init& state, PlotFormat format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QRectF frame(0, 0, kPlotWidth, kPlotHeight);
  if (format == PlotFormat::Svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kPlotWidth, kPlotHeight));
    generator.setViewBox(frame);
    generator.setTitle(QString::fromStdString(PlotTitle(state)));
    generator.setDescription(QStringLiteral("Rational-method design-storm runoff hydrograph"));
    QPainter painter(&generator);
    DrawHydrograph(painter, frame, state);
    painter.end();
  } else {
    QImage image(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      DrawHydrograph(painter, frame, state);
    }
    // Quality 80 is zlib's fastest level for PNG: about a quarter quicker than the default for a
    // file a fifth larger (some 70 KB), still lossless.
    if (!image.save(&buffer, "PNG", 80))
      throw FileFault("Cannot encode the hydrograph plot as PNG.");
  }
  return bytes.toStdString();
}

void WritePlot(const Init& state, const std::string& path, FileSystem& files) {
  PlotFormat format = PlotFormat::Svg;
  if (!PlotFormatOf(path, format))
    throw FileFault("Cannot write " + path + ": the plot file must end in .svg or .png.");
  files.ReplaceText(path, PlotBytes(state, format));
}

}  // namespace rh::cli
