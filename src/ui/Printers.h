// The printers the results screen prints on.
#pragma once

#include <memory>
#include <string>

#include "platform/PrintTarget.h"

namespace rh::ui {

// A job on the system's default printer. Raises PrinterFault when no printer is installed.
std::unique_ptr<Printer> OpenDefaultPrinter();

// A job written as a PDF file at `path`. Raises PrinterFault when it cannot be made.
std::unique_ptr<Printer> OpenPdfPrinter(const std::string& path);

}  // namespace rh::ui
