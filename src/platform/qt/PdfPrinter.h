// A printer job saved as a PDF file: what the program offers when no printer is installed.
#pragma once

#include <QFont>
#include <QPainter>
#include <QSaveFile>
#include <memory>
#include <string>

#include "platform/PrintTarget.h"

class QPdfWriter;

namespace rh::qt {

// Letter pages with 3/4-inch margins, 10-point sans-serif text. The file appears at `path` only
// when EndDoc completes it; AbortDoc, or a job dropped unfinished, leaves no file behind. A path
// that cannot be written raises PrinterFault.
class PdfPrinter final : public Printer {
 public:
  explicit PdfPrinter(const std::string& path);
  ~PdfPrinter() override;

  void Write(std::string_view text) override;
  void EndLine() override;
  double CurrentX() const override { return x_; }
  void MoveToX(double x) override;
  double ColumnWidth() const override;
  char DecimalPoint() const override { return '.'; }
  void EndDoc() override;
  void AbortDoc() override;

  int Pages() const { return pages_; }

 private:
  std::string path_;
  QSaveFile file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  double x_ = 0;       // device units from the left margin
  double y_ = 0;       // device units from the top margin to the top of the current line
  double width_ = 0;   // printable width, device units
  double height_ = 0;  // printable height, device units
  int pages_ = 1;
  bool open_ = false;
};

}  // namespace rh::qt
