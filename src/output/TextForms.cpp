#include "output/TextForms.h"

#include <cmath>

#include "core/NumberForms.h"

namespace rh {

std::string PrintItem(const PrintValue& item, char decimalPoint) {
  struct Visitor {
    char point;
    std::string operator()(double value) const {
      std::string text;
      AppendPrintForm(text, value, point);
      return text;
    }
    std::string operator()(std::int16_t value) const {
      std::string text;
      AppendPrintForm(text, value);
      return text;
    }
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(const DateItem& date) const { return date.text; }
  };
  return std::visit(Visitor{decimalPoint}, item);
}

void PrintStatement(PrintTarget& target, const std::vector<PrintPart>& parts) {
  if (parts.empty()) {
    target.EndLine();
    return;
  }
  for (const PrintPart& part : parts) {
    target.Write(PrintItem(part.item, target.DecimalPoint()));
    switch (part.ending) {
      case Ending::Join:
        break;
      case Ending::NextZone: {
        const double zone = kPrintZoneColumns * target.ColumnWidth();
        // A small allowance keeps a position that is a zone start up to rounding on that zone.
        const double zonesPassed = std::floor(target.CurrentX() / zone + 1e-9);
        target.MoveToX((zonesPassed + 1) * zone);
        break;
      }
      case Ending::EndLine:
        target.EndLine();
        break;
    }
  }
}

void TextPrintTarget::Write(std::string_view text) {
  text_.append(text);
  for (const char c : text) {
    // Count code points, not the continuation bytes of UTF-8 sequences.
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
      ++column_;
  }
}

void TextPrintTarget::EndLine() {
  text_.append("\r\n");
  column_ = 0;
}

void TextPrintTarget::MoveToX(double x) {
  const long target = static_cast<long>(std::ceil(x - 1e-9));
  if (target > column_) {
    text_.append(static_cast<std::size_t>(target - column_), ' ');
    column_ = target;
  }
}

}  // namespace rh
