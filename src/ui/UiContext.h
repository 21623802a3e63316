// What the screens share: the global state and the platform services they reach it with.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/Init.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/PrintTarget.h"
#include "platform/qt/Prompts.h"

namespace rh::ui {

// Opens a job on the default printer; raises PrinterFault when there is none.
using PrinterFactory = std::function<std::unique_ptr<Printer>()>;
// Opens a job that is saved as a PDF file at the given path.
using PdfPrinterFactory = std::function<std::unique_ptr<Printer>(const std::string& path)>;

struct UiContext {
  Init& state;
  FileSystem& files;
  Clock& clock;
  qt::Prompts& prompts;
  PrinterFactory openPrinter;
  PdfPrinterFactory openPdfPrinter;
  // Ends the program at once ("Exit").
  std::function<void()> endProgram;
};

}  // namespace rh::ui
