#include "core/NumberChars.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace rh::numberchars {

namespace {

// The most significant digits a double ever needs to read back as itself.
constexpr int kMaxDigits = 17;

std::to_chars_result Copy(char* first, char* last, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(last - first))
    return {last, std::errc::value_too_large};
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), std::errc()};
}

// printf's text of `value` under `format`, which takes a precision and then the double.
std::string Printed(const char* format, int precision, double value) {
  char buffer[64];
  const int size = std::snprintf(buffer, sizeof buffer, format, precision, value);
  if (size < 0)
    return {};
  if (static_cast<std::size_t>(size) < sizeof buffer)
    return {buffer, static_cast<std::size_t>(size)};
  // Fixed forms of large values run to hundreds of digits.
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, precision, value);
  text.pop_back();
  return text;
}

// A positive decimal: the digits d0 d1 d2... (no leading zero) of d0.d1d2... x 10^exponent.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

std::string ScientificText(const Decimal& d) {
  std::string text(1, d.digits[0]);
  if (d.digits.size() > 1)
    text.append(".").append(d.digits, 1);
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+',
                std::abs(d.exponent));
  return text + exponent;
}

bool ReadsBackAs(const Decimal& d, double magnitude) {
  return std::strtod(ScientificText(d).c_str(), nullptr) == magnitude;
}

// The decimal of printf's "%.*e" text "d.ddde+XX".
Decimal FromScientific(const std::string& text) {
  Decimal d;
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.')
      d.digits += text[i];
  }
  d.exponent = std::atoi(text.c_str() + e + 1);
  return d;
}

// The neighbour of `d` one unit up or down in its last digit, with as many digits.
Decimal Neighbour(Decimal d, bool up) {
  std::size_t i = d.digits.size();
  while (i-- > 0) {
    char& digit = d.digits[i];
    if (up ? digit != '9' : digit != '0') {
      digit = static_cast<char>(digit + (up ? 1 : -1));
      break;
    }
    digit = up ? '0' : '9';
  }
  if (up && d.digits[0] == '0') {  // 9.99 -> 10.0
    d.digits.insert(0, 1, '1');
    d.digits.pop_back();
    ++d.exponent;
  } else if (!up && d.digits[0] == '0') {  // 1.00 -> 0.999: the next one below is 9.99 x 10^-1
    d.digits.erase(0, 1);
    d.digits += '9';
    --d.exponent;
  }
  return d;
}

// The fewest significant digits that read back as `magnitude` (finite, above 0); among decimals
// with that many digits, the nearest one.
Decimal ShortestDecimal(double magnitude) {
  Decimal d;
  for (int precision = 0; precision < kMaxDigits; ++precision) {
    d = FromScientific(Printed("%.*e", precision, magnitude));
    if (ReadsBackAs(d, magnitude))
      return d;
    // Just above a power of two the doubles below lie closer than those above, so the nearest
    // decimal may miss while the next one up still reads back.
    for (const bool up : {true, false}) {
      if (Decimal next = Neighbour(d, up); ReadsBackAs(next, magnitude))
        return next;
    }
  }
  return d;
}

}  // namespace

std::to_chars_result Shortest(char* first, char* last, double value) {
  if (!std::isfinite(value))
    return Copy(first, last, Printed("%.*g", 0, value));  // inf, -inf, nan, -nan
  const std::string sign = std::signbit(value) ? "-" : "";
  const double magnitude = std::fabs(value);
  if (magnitude == 0)
    return Copy(first, last, sign + "0");

  Decimal d = ShortestDecimal(magnitude);
  while (d.digits.size() > 1 && d.digits.back() == '0')
    d.digits.pop_back();
  const int count = static_cast<int>(d.digits.size());
  std::string fixed;
  if (d.exponent >= count - 1) {
    // A whole number: every digit is printed, the exact value (as long as the shortest digits
    // padded with zeros, and nearer).
    fixed = Printed("%.*f", 0, magnitude);
  } else if (d.exponent >= 0) {
    fixed = d.digits.substr(0, static_cast<std::size_t>(d.exponent) + 1) + "." +
            d.digits.substr(static_cast<std::size_t>(d.exponent) + 1);
  } else {
    fixed = "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
  }
  const std::string scientific = ScientificText(d);
  // The shorter form; fixed when they are as long.
  return Copy(first, last, sign + (fixed.size() <= scientific.size() ? fixed : scientific));
}

std::to_chars_result WithPrecision(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
  const char* printfFormat = format == std::chars_format::fixed        ? "%.*f"
                             : format == std::chars_format::scientific ? "%.*e"
                             : format == std::chars_format::general    ? "%.*g"
                                                                       : nullptr;
  if (printfFormat == nullptr)
    return {last, std::errc::invalid_argument};
  return Copy(first, last, Printed(printfFormat, precision, value));
}

namespace {

bool StartsWithWord(const char* first, const char* last, std::string_view word) {
  if (static_cast<std::size_t>(last - first) < word.size())
    return false;
  for (const char c : word) {
    if (std::tolower(static_cast<unsigned char>(*first++)) != c)
      return false;
  }
  return true;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::from_chars_result Read(const char* first, const char* last, double& value,
                            std::chars_format format) {
  if (format == std::chars_format::hex)
    return {first, std::errc::invalid_argument};
  const char* p = first;
  const bool negative = p != last && *p == '-';
  if (negative)
    ++p;
  const double sign = negative ? -1.0 : 1.0;
  if (StartsWithWord(p, last, "inf")) {
    value = std::copysign(std::numeric_limits<double>::infinity(), sign);
    return {p + (StartsWithWord(p, last, "infinity") ? 8 : 3), std::errc()};
  }
  if (StartsWithWord(p, last, "nan")) {
    p += 3;
    // "nan(chars)": letters, digits and "_" inside the parentheses.
    const char* q = p;
    if (q != last && *q == '(') {
      ++q;
      while (q != last && (std::isalnum(static_cast<unsigned char>(*q)) || *q == '_'))
        ++q;
      if (q != last && *q == ')')
        p = q + 1;
    }
    value = std::copysign(std::numeric_limits<double>::quiet_NaN(), sign);
    return {p, std::errc()};
  }

  const char* const start = p;
  bool digits = false;
  bool nonZero = false;
  const auto digitRun = [&] {
    for (; p != last && IsDigit(*p); ++p) {
      digits = true;
      nonZero = nonZero || *p != '0';
    }
  };
  digitRun();
  if (p != last && *p == '.') {
    ++p;
    digitRun();
  }
  if (!digits)
    return {first, std::errc::invalid_argument};
  bool exponent = false;
  if (format != std::chars_format::fixed && p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != last && (*q == '+' || *q == '-'))
      ++q;
    if (q != last && IsDigit(*q)) {
      while (q != last && IsDigit(*q))
        ++q;
      p = q;
      exponent = true;
    }
  }
  if (format == std::chars_format::scientific && !exponent)
    return {first, std::errc::invalid_argument};

  const double magnitude = std::strtod(std::string(start, p).c_str(), nullptr);
  if (std::isinf(magnitude) || (magnitude == 0 && nonZero))
    return {p, std::errc::result_out_of_range};
  value = sign * magnitude;
  return {p, std::errc()};
}

}  // namespace rh::numberchars
