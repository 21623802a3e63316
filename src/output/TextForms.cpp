#include "output/TextForms.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/NumberChars.h"

namespace rh {

namespace {

// Room for the longest number form: sign, 15 digits, point, exponent ("-1.23456789012345E-308")
// and a trailing space.
constexpr std::size_t kNumberRoom = 32;

// Writes the digits of `magnitude` (positive, not NaN) in the general decimal form with at most
// 15 significant digits, "." as point and "E" as exponent letter; returns the end.
char* WriteDigits(char* first, char* last, double magnitude) {
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    // Whole numbers (times, most inputs) print as integers; this is also the general form's
    // output for them, only faster.
    return std::to_chars(first, last, static_cast<long long>(magnitude)).ptr;
  }
  if (magnitude >= 0.1 && magnitude < 1e14) {
    // Tenths (discharges are rounded to 0.1 cfs): when the value is the double nearest to
    // tenths / 10, it lies within half a unit in the last place of that decimal, far closer than
    // half a unit in the 15th digit, so the general form prints exactly those digits.
    const double tenths = std::round(magnitude * 10);
    if (tenths / 10 == magnitude) {
      const auto scaled = static_cast<long long>(tenths);
      char* end = std::to_chars(first, last, scaled / 10).ptr;
      *end++ = '.';
      *end++ = static_cast<char>('0' + scaled % 10);
      return end;
    }
  }
  char* end = ToChars(first, last, magnitude, std::chars_format::general, 15).ptr;
  for (char* c = first; c != end; ++c) {
    if (*c == 'e') {
      *c = 'E';
      break;
    }
  }
  return end;
}

// Writes the Str-form of a non-zero, non-NaN `value` into `buffer` (kNumberRoom bytes) and
// returns where it starts; `end` receives its end.
char* WriteStrForm(char (&buffer)[kNumberRoom], double value, char*& end) {
  buffer[0] = value < 0 ? '-' : ' ';
  end = WriteDigits(buffer + 1, buffer + kNumberRoom, std::fabs(value));
  // No zero before the point below 1: the sign moves onto the zero.
  if (end - buffer > 2 && buffer[1] == '0' && buffer[2] == '.') {
    buffer[1] = buffer[0];
    return buffer + 1;
  }
  return buffer;
}

bool PrintsAsZero(double value) {
  return value == 0.0 || std::isnan(value);
}

}  // namespace

void AppendStrForm(std::string& out, double value) {
  if (PrintsAsZero(value)) {
    out.append(" 0");
    return;
  }
  char buffer[kNumberRoom];
  char* end = nullptr;
  const char* first = WriteStrForm(buffer, value, end);
  out.append(first, static_cast<std::size_t>(end - first));
}

void AppendPrintForm(std::string& out, double value, char decimalPoint) {
  if (PrintsAsZero(value)) {
    out.append(" 0 ");
    return;
  }
  char buffer[kNumberRoom];
  char* end = nullptr;
  char* first = WriteStrForm(buffer, value, end);
  if (decimalPoint != '.') {
    for (char* c = first; c != end; ++c) {
      if (*c == '.')
        *c = decimalPoint;
    }
  }
  *end++ = ' ';
  out.append(first, static_cast<std::size_t>(end - first));
}

void AppendPlainNumber(std::string& out, double value) {
  if (PrintsAsZero(value)) {
    out.push_back('0');
    return;
  }
  char buffer[kNumberRoom];
  char* first = buffer + 1;
  if (value < 0)
    *--first = '-';
  const char* end = WriteDigits(buffer + 1, buffer + kNumberRoom, std::fabs(value));
  out.append(first, static_cast<std::size_t>(end - first));
}

std::string StrForm(double value) {
  std::string text;
  AppendStrForm(text, value);
  return text;
}

std::string PlainNumber(double value) {
  std::string text;
  AppendPlainNumber(text, value);
  return text;
}

std::string PrintItem(const PrintValue& item, char decimalPoint) {
  struct Visitor {
    char point;
    std::string operator()(double value) const {
      std::string text;
      AppendPrintForm(text, value, point);
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
