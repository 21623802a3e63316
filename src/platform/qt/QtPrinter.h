// Printer jobs through Qt: the system's default printer, or a PDF document laid out the same way
// (same font, print zones and page flow).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPointF>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/OutputDevices.h"

namespace rh {

// What DefaultPrinter reports when the system has no default printer.
inline constexpr const char* kNoPrinterInstalledText =
    "No printer is installed. Install a printer and make it the default printer, then print "
    "again.";

// A print job composed as a PDF document. The report font is Liberation Mono 10 pt (fontconfig
// substitutes the nearest fixed-pitch face when it is missing): a fixed pitch keeps the report's
// columns where the file form puts them.
//
// Positions are device units from the left edge of the printable area; a print column is the
// font's average character width. The pages are composed in memory; only EndDoc renders them and
// hands the document on (to the print spooler, to a file, or to PdfBytes), so a job given up by
// AbortDoc (or by a fault) never reaches the printer or the disk. A line that does not fit on the
// page starts a new one. After EndDoc or AbortDoc the next Write starts a new job.
//
// A QGuiApplication must exist while the printer is used (see GuiSession).
class QtPrinter final : public PdfDocument {
 public:
  // The system's default printer, with its default page size and margins. EndDoc succeeds only
  // when the print spooler has accepted the job; otherwise it throws PrinterFault with the
  // spooler's own words. Throws PrinterFault when there is no default printer, saying why: the
  // print service cannot be reached, the printer named as the default is not installed, or no
  // printer is.
  static std::unique_ptr<QtPrinter> DefaultPrinter(char decimalPoint);

  // A PDF document in memory on an A4 page with 0.5 in margins at 1200 dots per inch: EndDoc
  // finishes it and PdfBytes gives the file.
  static std::unique_ptr<QtPrinter> Pdf(char decimalPoint);

  ~QtPrinter() override;

  void Write(std::string_view text) override;
  void EndLine() override;
  double CurrentX() const override { return x_; }
  void MoveToX(double x) override;
  double ColumnWidth() const override { return columnWidth_; }
  char DecimalPoint() const override { return decimalPoint_; }
  // Renders the pages as a PDF document (PrinterFault when that fails) and hands it on.
  void EndDoc() override;
  void AbortDoc() override;

  // The PDF file of the job the last EndDoc finished (for a printer job, what was sent to the
  // spooler). Empty before the first EndDoc, after AbortDoc and after an EndDoc that failed.
  std::string PdfBytes() const override { return pdf_; }

  // Test seam: the pages composed so far in the current job.
  int PageCount() const { return page_ + 1; }
  // Height of a printed line, device units.
  double LineSpacing() const { return lineSpacing_; }

 private:
  QtPrinter(const QPageLayout& layout, int resolution, char decimalPoint);
  void Reset();
  std::string RenderPdf() const;

  struct TextRun {
    int page;
    QPointF baseline;  // device units from the printable area's top left corner
    QString text;
  };

  QPageLayout layout_;
  int resolution_;  // device units per inch
  char decimalPoint_;
  std::string queue_;  // print spooler queue of a printer job
  QFont font_;
  std::optional<QFontMetricsF> metrics_;  // of font_ at the device's resolution
  double columnWidth_ = 0;
  double lineSpacing_ = 0;
  double ascent_ = 0;
  double pageHeight_ = 0;

  std::vector<TextRun> runs_;
  int page_ = 0;
  double x_ = 0;
  double y_ = 0;  // top of the current line
  std::string pdf_;
};

}  // namespace rh
