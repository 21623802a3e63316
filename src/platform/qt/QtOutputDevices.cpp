#include "platform/qt/QtOutputDevices.h"

#include "platform/qt/DrawingPainter.h"
#include "platform/qt/GuiSession.h"
#include "platform/qt/PagesPdf.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtPrinter.h"

namespace rh {

QtOutputDevices::QtOutputDevices() = default;
QtOutputDevices::~QtOutputDevices() = default;

void QtOutputDevices::NeedGui() {
  if (!session_)
    session_ = std::make_unique<GuiSession>();
}

std::unique_ptr<Printer> QtOutputDevices::OpenDefaultPrinter() {
  NeedGui();
  return QtPrinter::DefaultPrinter(SystemDecimalPoint());
}

std::unique_ptr<PdfDocument> QtOutputDevices::OpenPdf() {
  NeedGui();
  return QtPrinter::Pdf(SystemDecimalPoint());
}

std::string QtOutputDevices::PngBytes(const Drawing& drawing) {
  NeedGui();
  return qt::DrawingPng(drawing);
}

PageSize QtOutputDevices::LocalePageSize() {
  return qt::PageSizeOf(QLocale::system());
}

}  // namespace rh
