// Pages of drawings as a PDF document, and the paper of the host's locale.
#pragma once

#include <QByteArray>
#include <QLocale>
#include <string>
#include <vector>

#include "platform/Drawing.h"
#include "platform/PageSize.h"

namespace rh::qt {

// What every PDF the program writes shares: its device units (dots per inch) and its creator.
constexpr int kPdfDotsPerInch = 1200;
constexpr const char* kPdfCreator = "Rational Method Hydrograph";

// Qt's PDF writer reports no errors of its own: a document is whole when it ends its trailer.
inline bool IsWholePdf(const QByteArray& bytes) {
  return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

// The pages, each drawn in points from its top left corner, as the bytes of a PDF document on
// `size` paper: shapes stay vector graphics and texts real text in embedded fonts. The first
// page's title is the document's. Needs a QGuiApplication (fonts). PrinterFault when the
// document fails.
std::string PagesPdf(const std::vector<Drawing>& pages, PageSize size);

// The paper used where `locale` is: Letter in the United States, Canada, Mexico and the few other
// countries of the Americas and the Philippines that use it; A4 everywhere else.
PageSize PageSizeOf(const QLocale& locale);

}  // namespace rh::qt
