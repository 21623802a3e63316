#include "platform/qt/QtPrinter.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/Messages.h"
#include "platform/Faults.h"

namespace rh {

namespace {

constexpr const char* kJobName = "Rational Method Hydrograph Report";
constexpr const char* kFontFamily = "Liberation Mono";
constexpr double kFontPoints = 10.0;

void RequireGuiApplication() {
  if (QGuiApplication::instance() == nullptr)
    throw PrinterFault("The printer cannot be used before the program's display is set up.");
}

}  // namespace

std::unique_ptr<QtPrinter> QtPrinter::DefaultPrinter(char decimalPoint) {
  RequireGuiApplication();
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull())
    throw PrinterFault(messages::kNoPrinterText);
  auto device = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  device->setDocName(kJobName);
  return std::unique_ptr<QtPrinter>(new QtPrinter(std::move(device), decimalPoint, {}));
}

std::unique_ptr<QtPrinter> QtPrinter::PdfFile(const std::string& path, char decimalPoint) {
  RequireGuiApplication();
  if (path.empty())
    throw PrinterFault("No file name was given for the report.");
  auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
  device->setOutputFormat(QPrinter::PdfFormat);
  device->setDocName(kJobName);
  device->setCreator("Rational Method Hydrograph");
  return std::unique_ptr<QtPrinter>(new QtPrinter(std::move(device), decimalPoint, path));
}

QtPrinter::QtPrinter(std::unique_ptr<QPrinter> device, char decimalPoint, std::string pdfPath)
    : device_(std::move(device)), decimalPoint_(decimalPoint), pdfPath_(std::move(pdfPath)) {
  font_ = QFont(kFontFamily);
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  font_.setPointSizeF(kFontPoints);
  // Metrics for the device the job goes to, in its own units.
  metrics_.emplace(font_, device_.get());
  columnWidth_ = metrics_->averageCharWidth();
  lineSpacing_ = metrics_->lineSpacing();
  ascent_ = metrics_->ascent();
  pageHeight_ = device_->pageLayout().paintRectPixels(device_->resolution()).height();
  if (!(columnWidth_ > 0) || !(lineSpacing_ > 0) || !(pageHeight_ >= lineSpacing_))
    throw PrinterFault("The printer's page or font cannot hold the report.");
}

QtPrinter::~QtPrinter() = default;

void QtPrinter::Reset() {
  runs_.clear();
  page_ = 0;
  x_ = 0;
  y_ = 0;
}

void QtPrinter::Write(std::string_view text) {
  if (y_ > 0 && y_ + lineSpacing_ > pageHeight_) {
    ++page_;
    y_ = 0;
  }
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  runs_.push_back({page_, QPointF(x_, y_ + ascent_), qtext});
  x_ += metrics_->horizontalAdvance(qtext);
}

void QtPrinter::EndLine() {
  x_ = 0;
  y_ += lineSpacing_;
}

void QtPrinter::MoveToX(double x) {
  if (x > x_)
    x_ = x;
}

void QtPrinter::SendTo(QPrinter& device) {
  QPainter painter;
  if (!painter.begin(&device))
    throw PrinterFault("The printer could not start the report.");
  painter.setFont(font_);
  int page = 0;
  for (const TextRun& run : runs_) {
    for (; page < run.page; ++page) {
      if (!device.newPage()) {
        painter.end();
        throw PrinterFault("The printer could not start a new page.");
      }
    }
    painter.drawText(run.baseline, run.text);
  }
  if (!painter.end())
    throw PrinterFault("The printer could not finish the report.");
}

void QtPrinter::EndDoc() {
  if (pdfPath_.empty()) {
    SendTo(*device_);
    Reset();
    return;
  }
  // The PDF is written beside its target and renamed over it only when it is complete.
  const QFileInfo target(QString::fromStdString(pdfPath_));
  QTemporaryFile temp(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
  if (!temp.open())
    throw PrinterFault("Cannot write " + pdfPath_ + ": " + temp.errorString().toStdString());
  temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                      QFileDevice::ReadOther);
  temp.close();
  device_->setOutputFileName(temp.fileName());
  SendTo(*device_);
  if (std::rename(QFile::encodeName(temp.fileName()).constData(), pdfPath_.c_str()) != 0)
    throw PrinterFault("Cannot write " + pdfPath_ + ": " + std::strerror(errno));
  temp.setAutoRemove(false);
  Reset();
}

void QtPrinter::AbortDoc() {
  // Nothing has reached the device yet: dropping the composed pages discards the job.
  Reset();
}

}  // namespace rh
