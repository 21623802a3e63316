#include "platform/qt/DrawingPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "core/Faults.h"
#include "platform/PngEncoder.h"

namespace rh::qt {

namespace {

QColor ToQt(const Color& c) {
  return QColor(c.red, c.green, c.blue);
}

QFont DrawingFont(double pixelSize, bool bold, TextFace face) {
  const bool mono = face == TextFace::Mono;
  QFont font(QString::fromLatin1(mono ? kDrawingMonoFace : kDrawingFace));
  font.setStyleHint(mono ? QFont::TypeWriter : QFont::SansSerif);
  if (mono)
    font.setFixedPitch(true);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  font.setBold(bold);
  return font;
}

struct Painter {
  QPainter& p;
  double scale;  // device units per drawing pixel

  void operator()(const LineShape& s) const {
    const bool upright = s.from.x == s.to.x || s.from.y == s.to.y;
    p.setRenderHint(QPainter::Antialiasing, !upright);
    p.setPen(QPen(ToQt(s.color), s.width));
    p.drawLine(QPointF(s.from.x, s.from.y), QPointF(s.to.x, s.to.y));
  }
  void operator()(const PolylineShape& s) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(ToQt(s.color), s.width);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(s.points.size()));
    for (const Point& point : s.points)
      polygon << QPointF(point.x, point.y);
    p.drawPolyline(polygon);
  }
  void operator()(const RectShape& s) const {
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF rect(s.left, s.top, s.width, s.height);
    p.fillRect(rect, ToQt(s.fill));
    if (s.outlined) {
      p.setPen(QPen(ToQt(s.outline), s.outlineWidth));
      p.setBrush(Qt::NoBrush);
      p.drawRect(rect);
    }
  }
  void operator()(const CircleShape& s) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(ToQt(s.fill));
    p.drawEllipse(QPointF(s.centre.x, s.centre.y), s.radius, s.radius);
    p.setBrush(Qt::NoBrush);
  }
  void operator()(const TextShape& s) const {
    const QString text = QString::fromStdString(s.text);
    // The font is sized in device units, so that a small text keeps its fractional size and its
    // advances are not rounded to whole drawing pixels.
    const QFont font = DrawingFont(s.pixelSize * scale, s.bold, s.face);
    p.setFont(font);
    p.setPen(ToQt(s.color));
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    const double shift = s.align == TextAlign::Left     ? 0
                         : s.align == TextAlign::Centre ? -width / 2
                                                        : -width;
    p.save();
    p.translate(s.at.x, s.at.y);
    if (s.degrees != 0)
      p.rotate(-s.degrees);
    if (scale != 1)
      p.scale(1 / scale, 1 / scale);
    p.drawText(QPointF(shift, 0), text);
    p.restore();
  }
};

}  // namespace

void PaintDrawing(QPainter& painter, const Drawing& drawing, double scale) {
  painter.save();
  if (scale != 1)
    painter.scale(scale, scale);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(QRectF(0, 0, drawing.width, drawing.height), ToQt(drawing.background));
  for (const Shape& shape : drawing.shapes)
    std::visit(Painter{painter, scale}, shape);
  painter.restore();
}

std::string DrawingPng(const Drawing& drawing) {
  // The image is kept for the next picture of its size (fresh memory costs a page fault every
  // 4 KB); the drawing paints every pixel of it.
  thread_local QImage image;
  const QSize size(static_cast<int>(std::lround(drawing.width)),
                   static_cast<int>(std::lround(drawing.height)));
  if (image.size() != size)
    image = QImage(size, QImage::Format_RGB32);
  if (image.isNull())
    throw FileFault(messages::kPictureTooLargeText);
  {
    QPainter painter(&image);
    PaintDrawing(painter, drawing);
  }
  return EncodePng(image.constBits(), image.width(), image.height(),
                   static_cast<std::size_t>(image.bytesPerLine()));
}

}  // namespace rh::qt
