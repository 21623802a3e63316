#include "ui/Printers.h"

#include "platform/qt/QtClock.h"
#include "platform/qt/QtPrinter.h"

namespace rh::ui {

// The printer back end is wired here and only here.
std::unique_ptr<Printer> OpenDefaultPrinter() {
  return QtPrinter::DefaultPrinter(SystemDecimalPoint());
}

std::unique_ptr<Printer> OpenPdfPrinter(const std::string& path) {
  return QtPrinter::PdfFile(path, SystemDecimalPoint());
}

}  // namespace rh::ui
