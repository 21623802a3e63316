// Printer jobs through Qt Print Support: the system's default printer, or a PDF file laid out the
// same way (same font, print zones and page flow).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PrintTarget.h"

class QPrinter;

namespace rh {

// A print job on a Qt printer device. The report font is Liberation Mono 10 pt (fontconfig
// substitutes the nearest fixed-pitch face when it is missing): a fixed pitch keeps the report's
// columns where the file form puts them. Margins and page size are the device's defaults.
//
// Positions are device units from the left edge of the printable area; a print column is the
// font's average character width. The page is composed in memory and only EndDoc opens the device
// and sends it, so a job given up by AbortDoc (or by a fault) never reaches the printer. A line
// that does not fit on the page starts a new one. After EndDoc or AbortDoc the next Write starts
// a new job.
//
// A QGuiApplication must exist while the printer is used (see GuiSession).
class QtPrinter final : public Printer {
 public:
  // The system's default printer. Throws PrinterFault when no printer is installed.
  static std::unique_ptr<QtPrinter> DefaultPrinter(char decimalPoint);
  // A PDF file at `path`. The file is replaced only when the whole document has been written.
  static std::unique_ptr<QtPrinter> PdfFile(const std::string& path, char decimalPoint);

  ~QtPrinter() override;

  void Write(std::string_view text) override;
  void EndLine() override;
  double CurrentX() const override { return x_; }
  void MoveToX(double x) override;
  double ColumnWidth() const override { return columnWidth_; }
  char DecimalPoint() const override { return decimalPoint_; }
  void EndDoc() override;
  void AbortDoc() override;

  // Pages composed so far in the current job.
  int PageCount() const { return page_ + 1; }
  // Height of a printed line, device units.
  double LineSpacing() const { return lineSpacing_; }

 private:
  QtPrinter(std::unique_ptr<QPrinter> device, char decimalPoint, std::string pdfPath);
  void Reset();
  void SendTo(QPrinter& device);

  struct TextRun {
    int page;
    QPointF baseline;  // device units from the printable area's top left corner
    QString text;
  };

  std::unique_ptr<QPrinter> device_;
  char decimalPoint_;
  std::string pdfPath_;  // empty for a printer
  QFont font_;
  std::optional<QFontMetricsF> metrics_;  // of font_ on the device
  double columnWidth_ = 0;
  double lineSpacing_ = 0;
  double ascent_ = 0;
  double pageHeight_ = 0;

  std::vector<TextRun> runs_;
  int page_ = 0;
  double x_ = 0;
  double y_ = 0;  // top of the current line
};

}  // namespace rh
