#include "platform/qt/PdfPrinter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "platform/Faults.h"
#include "platform/qt/Fonts.h"

namespace rh::qt {

PdfPrinter::PdfPrinter(const std::string& path) : path_(path), file_(QString::fromStdString(path)) {
  if (!file_.open(QIODevice::WriteOnly))
    throw PrinterFault("Cannot write the PDF file " + path + ": " +
                       file_.errorString().toStdString() + ".");
  writer_ = std::make_unique<QPdfWriter>(&file_);
  writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(0.75, 0.75, 0.75, 0.75), QPageLayout::Inch));
  writer_->setTitle(QStringLiteral("Rational Method Hydrograph"));
  if (!painter_.begin(writer_.get())) {
    file_.cancelWriting();
    throw PrinterFault("Cannot start the PDF file " + path + ".");
  }
  painter_.setFont(MakeFont({"MS Sans Serif", 10, false}));
  const QRect page = writer_->pageLayout().paintRectPixels(writer_->resolution());
  width_ = page.width();
  height_ = page.height();
  open_ = true;
}

PdfPrinter::~PdfPrinter() {
  if (open_)
    AbortDoc();
}

void PdfPrinter::Write(std::string_view text) {
  if (!open_)
    throw PrinterFault("The PDF job has already ended.");
  const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetricsF metrics(painter_.font(), writer_.get());
  painter_.drawText(QPointF(x_, y_ + metrics.ascent()), line);
  x_ += metrics.horizontalAdvance(line);
}

void PdfPrinter::EndLine() {
  if (!open_)
    throw PrinterFault("The PDF job has already ended.");
  const QFontMetricsF metrics(painter_.font(), writer_.get());
  x_ = 0;
  y_ += metrics.lineSpacing();
  if (y_ + metrics.lineSpacing() > height_) {
    if (!writer_->newPage())
      throw PrinterFault("Cannot add a page to the PDF file " + path_ + ".");
    ++pages_;
    y_ = 0;
  }
}

void PdfPrinter::MoveToX(double x) {
  if (x > x_)
    x_ = x;
}

double PdfPrinter::ColumnWidth() const {
  return QFontMetricsF(painter_.font(), writer_.get()).averageCharWidth();
}

void PdfPrinter::EndDoc() {
  if (!open_)
    return;
  open_ = false;
  painter_.end();
  if (!file_.commit())
    throw PrinterFault("Cannot write the PDF file " + path_ + ": " +
                       file_.errorString().toStdString() + ".");
}

void PdfPrinter::AbortDoc() {
  if (!open_)
    return;
  open_ = false;
  painter_.end();
  file_.cancelWriting();
}

}  // namespace rh::qt
