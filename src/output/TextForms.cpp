#include "output/TextForms.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace rh {

namespace {

// Digits of |value| in the general form with 15 significant digits and "." as point.
std::string Digits(double magnitude) {
  char buffer[64];
  char* end;
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    // Whole numbers (times, most inputs) print as integers; this is also the general form's
    // output for them, only faster.
    end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(magnitude)).ptr;
  } else {
    end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::general, 15)
              .ptr;
  }
  std::string text(buffer, end);
  // Exponent letter in capitals, and no zero before the point for magnitudes below 1.
  for (char& c : text) {
    if (c == 'e')
      c = 'E';
  }
  if (text.size() > 1 && text[0] == '0' && text[1] == '.')
    text.erase(0, 1);
  return text;
}

std::string SignedDigits(double value) {
  if (value == 0.0 || std::isnan(value))
    return " 0";
  return (value < 0 ? "-" : " ") + Digits(std::fabs(value));
}

}  // namespace

std::string StrForm(double value) {
  return SignedDigits(value);
}

std::string PlainNumber(double value) {
  if (value == 0.0 || std::isnan(value))
    return "0";
  std::string digits = Digits(std::fabs(value));
  if (digits[0] == '.')
    digits.insert(0, "0");
  return (value < 0 ? "-" : "") + digits;
}

std::string PrintItem(const PrintValue& item, char decimalPoint) {
  struct Visitor {
    char point;
    std::string operator()(double value) const {
      std::string text = SignedDigits(value) + " ";
      if (point != '.') {
        for (char& c : text) {
          if (c == '.')
            c = point;
        }
      }
      return text;
    }
    std::string operator()(std::int16_t value) const {
      return (value < 0 ? "-" : " ") + std::to_string(std::abs(static_cast<int>(value))) + " ";
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
