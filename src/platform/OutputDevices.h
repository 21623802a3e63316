// The devices a run's report and chart reach beyond text files: the printer, PDF documents and
// pictures. The windowed program provides them through Qt; the companion loads them only when a
// run asks for one, so a plain listing never loads a graphics library.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Drawing.h"
#include "platform/PageSize.h"
#include "platform/PrintTarget.h"

namespace rh {

// A report composed as a PDF document in memory. EndDoc finishes it; the file is PdfBytes, for
// the caller to write.
class PdfDocument : public Printer {
 public:
  virtual std::string PdfBytes() const = 0;
};

class OutputDevices {
 public:
  virtual ~OutputDevices() = default;

  // A job on the system's default printer. PrinterFault when no printer is installed; EndDoc
  // raises PrinterFault when the job is not accepted.
  virtual std::unique_ptr<Printer> OpenDefaultPrinter() = 0;

  // A PDF document laid out as a printed page.
  virtual std::unique_ptr<PdfDocument> OpenPdf() = 0;

  // The drawing as a PNG file's bytes. FileFault when it cannot be encoded.
  virtual std::string PngBytes(const Drawing& drawing) = 0;

  // The paper of the host's locale: Letter where that is the custom (the United States and a few
  // other countries), A4 elsewhere.
  virtual PageSize LocalePageSize() = 0;
};

}  // namespace rh
