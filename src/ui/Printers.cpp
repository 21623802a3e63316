#include "ui/Printers.h"

#include "platform/Faults.h"

namespace rh::ui {

// The printer back end is wired here and only here.
std::unique_ptr<Printer> OpenDefaultPrinter() {
  throw PrinterFault("No printer is installed.");
}

std::unique_ptr<Printer> OpenPdfPrinter(const std::string& path) {
  throw PrinterFault("Cannot make the PDF file " + path + ": PDF output is not available.");
}

}  // namespace rh::ui
