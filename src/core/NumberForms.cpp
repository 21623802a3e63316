#include "core/NumberForms.h"

#include <charconv>
#include <cstdlib>
#include <string_view>
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

void AppendPrintForm(std::string& out, std::int16_t value) {
  out += value < 0 ? '-' : ' ';
  out += std::to_string(std::abs(static_cast<int>(value)));
  out += ' ';
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

std::string Fixed(double value, int decimals) {
  // Past 15 digits the figure is written as PlainNumber writes it, 1.5E+304, not 305 digits.
  if (!std::isfinite(value) || std::fabs(value) >= 1e15)
    return PlainNumber(value);
  char buffer[64];
  const auto result =
      ToChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc())
    return PlainNumber(value);
  std::string text(buffer, result.ptr);
  // No "-0.0" for a value that rounds to zero.
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
    text.erase(0, 1);
  return text;
}

std::string Decimals(double value, int decimals) {
  return Fixed(RoundedHalfUp(value, std::pow(10.0, decimals), WholeAtScale::Kept), decimals);
}

std::string SignedPercent(double percent) {
  const std::string shown = Fixed(percent, 1);
  return (percent > 0 && shown != "0.0" ? "+" : "") + shown;
}

std::string FaultNumber(double value) {
  char buffer[32];
  return {buffer, ToChars(buffer, buffer + sizeof buffer, value).ptr};
}

void AppendDrawingCoordinate(std::string& out, double value) {
  if (!std::isfinite(value))
    value = 0;
  char buffer[64];
  const auto result = ToChars(buffer, buffer + sizeof buffer, std::round(value * 100) / 100,
                              std::chars_format::fixed, 2);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  while (text.back() == '0')
    text.remove_suffix(1);
  if (text.back() == '.')
    text.remove_suffix(1);
  if (text == "-0")
    text = "0";
  out.append(text);
}

void AppendPageNumber(std::string& out, double value) {
  if (!std::isfinite(value) || std::fabs(value) > 1e9)
    value = 0;
  long long thousandths = std::llround(value * 1000);
  if (thousandths < 0) {
    out += '-';
    thousandths = -thousandths;
  }
  out += std::to_string(thousandths / 1000);
  long long fraction = thousandths % 1000;
  if (fraction != 0) {
    out += '.';
    for (long long unit = 100; fraction != 0; unit /= 10) {
      out += static_cast<char>('0' + fraction / unit);
      fraction %= unit;
    }
  }
}

SpacedUnitWords::SpacedUnitWords(const UnitWords& words) {
  const auto spaced = [](const char* word) { return std::string(" ") + word; };
  Minutes = spaced(words.Minutes);
  Hours = spaced(words.Hours);
  Inches = spaced(words.Inches);
  Acres = spaced(words.Acres);
  Cfs = spaced(words.Cfs);
  AcreFeet = spaced(words.AcreFeet);
  Feet = spaced(words.Feet);
  CubicFeet = spaced(words.CubicFeet);
  InchesPerHour = spaced(words.InchesPerHour);
}

}  // namespace rh
