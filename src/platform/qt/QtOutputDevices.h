// The printer, PDF documents and pictures through Qt.
#pragma once

#include <memory>

#include "platform/OutputDevices.h"

namespace rh {

class GuiSession;

// Printer and PDF jobs through QtPrinter (numbers in the system's number settings), pictures
// through QPainter. When no Qt GUI application exists yet (the companion), one is made on first use
// and kept while this object lives (see GuiSession).
class QtOutputDevices final : public OutputDevices {
 public:
  QtOutputDevices();
  ~QtOutputDevices() override;
  QtOutputDevices(const QtOutputDevices&) = delete;
  QtOutputDevices& operator=(const QtOutputDevices&) = delete;

  std::unique_ptr<Printer> OpenDefaultPrinter() override;
  std::unique_ptr<PdfDocument> OpenPdf() override;
  std::string PngBytes(const Drawing& drawing) override;
  PageSize LocalePageSize() override;

 private:
  void NeedGui();
  std::unique_ptr<GuiSession> session_;
};

}  // namespace rh
