#include "platform/qt/QtPrinter.h"

#include <cups/cups.h>

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/qt/PagesPdf.h"

namespace rh {

namespace {

constexpr const char* kJobName = "Rational Method Hydrograph Report";
constexpr const char* kFontFamily = "Liberation Mono";
constexpr double kFontPoints = 10.0;
// The page of a report saved as PDF: A4 with half-inch margins, so the report can be printed on
// any printer and punched for a binder.
constexpr double kPdfMarginPoints = 36.0;

void RequireGuiApplication() {
  if (QGuiApplication::instance() == nullptr)
    throw PrinterFault(messages::kNoDisplayPrinterText);
}

// The spooler's own words for the last request, or the HTTP status when it gave none.
std::string SpoolerWords(http_status_t status) {
  const char* words = cupsLastErrorString();
  if (words != nullptr && *words != '\0')
    return words;
  return httpStatus(status);
}

[[noreturn]] void ThrowRefused(const std::string& queue, std::string words) {
  while (!words.empty() && (words.back() == '.' || words.back() == ' '))
    words.pop_back();
  throw PrinterFault(messages::kSpoolerRefusedText + queue + ": " + words +
                     ". Check in the system's printer settings that the printer is enabled and "
                     "accepting jobs, then print again.");
}

// Sends a PDF document to the print spooler as one job on `queue`. Returns only once the spooler
// has accepted the whole job; a job it took in part is cancelled.
void SubmitToSpooler(const std::string& queue, const std::string& pdf) {
  const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), kJobName, 0, nullptr);
  if (job <= 0)
    ThrowRefused(queue, SpoolerWords(HTTP_STATUS_ERROR));
  const auto giveUp = [&](const std::string& words) {
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    ThrowRefused(queue, words);
  };
  http_status_t status =
      cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, kJobName, CUPS_FORMAT_PDF, 1);
  if (status != HTTP_STATUS_CONTINUE)
    giveUp(SpoolerWords(status));
  status = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size());
  if (status != HTTP_STATUS_CONTINUE) {
    const std::string words = SpoolerWords(status);
    cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
    giveUp(words);
  }
  const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
  if (finished < IPP_STATUS_OK || finished > IPP_STATUS_OK_CONFLICTING)
    giveUp(SpoolerWords(HTTP_STATUS_ERROR));
}

// Why the system has no default printer: the print service does not answer, the printer named as
// the default is not one of its queues, or it has no printer at all.
std::string NoDefaultPrinter() {
  constexpr int kWaitMs = 5000;
  http_t* service = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 kWaitMs, nullptr);
  if (service == nullptr)
    return "The print service at " + ShownText(cupsServer()) + " " + messages::kPrintServiceText;
  httpClose(service);
  // LPDEST, PRINTER, the lpoptions files, else the service's own default.
  const char* named = cupsGetDefault();
  if (named != nullptr && *named != '\0') {
    cups_dest_t* queue = cupsGetNamedDest(CUPS_HTTP_DEFAULT, named, nullptr);
    if (queue == nullptr)
      return "The printer " + Quoted(named) + " " + messages::kPrinterMissingText;
    cupsFreeDests(1, queue);
  }
  return kNoPrinterInstalledText;
}

QPageLayout PdfPageLayout() {
  return QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints),
      QPageLayout::Point);
}

}  // namespace

std::unique_ptr<QtPrinter> QtPrinter::DefaultPrinter(char decimalPoint) {
  RequireGuiApplication();
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull())
    throw PrinterFault(NoDefaultPrinter());
  // The page size and margins the printer's own job would use.
  const QPrinter device(info, QPrinter::HighResolution);
  std::unique_ptr<QtPrinter> printer(
      new QtPrinter(device.pageLayout(), device.resolution(), decimalPoint));
  // A queue instance is "queue/instance"; the spooler takes jobs for the queue.
  printer->queue_ = info.printerName().section(QLatin1Char('/'), 0, 0).toStdString();
  return printer;
}

std::unique_ptr<QtPrinter> QtPrinter::Pdf(char decimalPoint) {
  RequireGuiApplication();
  return std::unique_ptr<QtPrinter>(
      new QtPrinter(PdfPageLayout(), qt::kPdfDotsPerInch, decimalPoint));
}

QtPrinter::QtPrinter(const QPageLayout& layout, int resolution, char decimalPoint)
    : layout_(layout), resolution_(resolution), decimalPoint_(decimalPoint) {
  font_ = QFont(kFontFamily);
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  font_.setPointSizeF(kFontPoints);
  // Metrics at the resolution the pages are painted at.
  QBuffer unused;
  QPdfWriter device(&unused);
  device.setResolution(resolution_);
  metrics_.emplace(font_, &device);
  columnWidth_ = metrics_->averageCharWidth();
  lineSpacing_ = metrics_->lineSpacing();
  ascent_ = metrics_->ascent();
  pageHeight_ = layout_.paintRectPixels(resolution_).height();
  if (!(columnWidth_ > 0) || !(lineSpacing_ > 0) || !(pageHeight_ >= lineSpacing_))
    throw PrinterFault(messages::kPageTooSmallText);
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

std::string QtPrinter::RenderPdf() const {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter device(&buffer);
    device.setResolution(resolution_);
    device.setPageLayout(layout_);
    device.setTitle(QString::fromLatin1(kJobName));
    device.setCreator(QString::fromLatin1(qt::kPdfCreator));

    QPainter painter;
    if (!painter.begin(&device))
      throw PrinterFault(messages::kPdfNotStartedText);
    painter.setFont(font_);
    int page = 0;
    for (const TextRun& run : runs_) {
      for (; page < run.page; ++page) {
        if (!device.newPage()) {
          painter.end();
          throw PrinterFault(messages::kPageNotStartedText);
        }
      }
      painter.drawText(run.baseline, run.text);
    }
    if (!painter.end())
      throw PrinterFault(messages::kPdfNotFinishedText);
  }
  if (!qt::IsWholePdf(bytes))
    throw PrinterFault(messages::kPdfIncompleteText);
  return bytes.toStdString();
}

void QtPrinter::EndDoc() {
  pdf_.clear();
  std::string pdf = RenderPdf();
  if (!queue_.empty())
    SubmitToSpooler(queue_, pdf);
  pdf_ = std::move(pdf);
  Reset();
}

void QtPrinter::AbortDoc() {
  // Nothing has left the job yet: dropping the composed pages discards it.
  pdf_.clear();
  Reset();
}

}  // namespace rh
