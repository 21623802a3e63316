// Pages of drawings as a PDF document, written in plain C++: the same bytes on every host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Drawing.h"

namespace rh {

// What the documents name as their maker.
inline constexpr const char* kPdfCreator = "Rational Method Hydrograph";

// `seconds` after 1970-01-01 00:00 UTC as a PDF date in UTC: "D:20261208143005Z".
std::string PdfDate(std::int64_t seconds);

// The pages, each a drawing in points from its top left corner and as large as its page, as the
// bytes of a PDF document. Shapes become path operators; texts are real text in the standard
// faces (Sans in Helvetica, Mono in Courier, WinAnsi characters), so no font is embedded and
// TextWidth measures them as they are drawn. The first page's title is the document's; `created`
// (seconds after 1970 UTC) is its creation and modification date. Coordinates are written with
// at most three decimals, by integer arithmetic, so no locale or compiler changes a byte.
std::string DrawingsPdf(const std::vector<Drawing>& pages, std::int64_t created);

}  // namespace rh
