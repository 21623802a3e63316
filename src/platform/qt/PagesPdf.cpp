#include "platform/qt/PagesPdf.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "core/Faults.h"
#include "platform/qt/DrawingPainter.h"

namespace rh::qt {

namespace {

constexpr double kPointsPerInch = 72.0;

[[noreturn]] void Fail(const char* what) {
  throw PrinterFault(messages::kDocumentRenderText + std::string(what));
}

}  // namespace

std::string PagesPdf(const std::vector<Drawing>& pages, PageSize size) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter device(&buffer);
    device.setResolution(kPdfDotsPerInch);
    // The drawings hold their own margins: the page is drawn edge to edge.
    device.setPageLayout(
        QPageLayout(QPageSize(size == PageSize::Letter ? QPageSize::Letter : QPageSize::A4),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    device.setCreator(QString::fromLatin1(kPdfCreator));
    if (!pages.empty())
      device.setTitle(QString::fromStdString(pages.front().title));

    QPainter painter;
    if (!painter.begin(&device))
      Fail("the PDF document did not start.");
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0 && !device.newPage()) {
        painter.end();
        Fail("a new page did not start.");
      }
      PaintDrawing(painter, pages[i], kPdfDotsPerInch / kPointsPerInch);
    }
    if (!painter.end())
      Fail("the PDF document did not finish.");
  }
  if (!IsWholePdf(bytes))
    Fail("the PDF document is incomplete.");
  return bytes.toStdString();
}

PageSize PageSizeOf(const QLocale& locale) {
  static constexpr QLocale::Territory kLetter[] = {
      QLocale::UnitedStates, QLocale::Canada,           QLocale::Mexico,    QLocale::Philippines,
      QLocale::Chile,        QLocale::Colombia,         QLocale::CostaRica, QLocale::ElSalvador,
      QLocale::Guatemala,    QLocale::Nicaragua,        QLocale::Panama,    QLocale::PuertoRico,
      QLocale::Venezuela,    QLocale::DominicanRepublic};
  const QLocale::Territory where = locale.territory();
  return std::find(std::begin(kLetter), std::end(kLetter), where) != std::end(kLetter)
             ? PageSize::Letter
             : PageSize::A4;
}

}  // namespace rh::qt
