#include "ui/Printers.h"

#include "platform/Faults.h"
#include "platform/qt/PdfPrinter.h"

namespace rh::ui {

// The printer back end is wired here and only here.
std::unique_ptr<Printer> OpenDefaultPrinter() {
  throw PrinterFault("No printer is installed.");
}

std::unique_ptr<Printer> OpenPdfPrinter(const std::string& path) {
  return std::make_unique<qt::PdfPrinter>(path);
}

}  // namespace rh::ui
