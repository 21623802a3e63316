// What the printed report's PDF documents share, and the paper of the host's locale.
#pragma once

#include <QByteArray>
#include <QLocale>

#include "platform/PageSize.h"

namespace rh::qt {

// What the PDF documents Qt writes (the printed report's) share: their device units (dots per
// inch) and their creator.
constexpr int kPdfDotsPerInch = 1200;
constexpr const char* kPdfCreator = "Rational Method Hydrograph";

// Qt's PDF writer reports no errors of its own: a document is whole when it ends its trailer.
inline bool IsWholePdf(const QByteArray& bytes) {
  return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

// The paper used where `locale` is: Letter in the United States, Canada, Mexico and the few other
// countries of the Americas and the Philippines that use it; A4 everywhere else.
PageSize PageSizeOf(const QLocale& locale);

}  // namespace rh::qt
