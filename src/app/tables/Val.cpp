#include "app/tables/Val.h"

#include <cctype>
#include <charconv>
#include <string>

#include "core/Faults.h"
#include "core/NumberChars.h"
#include "core/ShownText.h"

namespace rh {

namespace {
bool Skipped(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool Digit(char c) {
  return c >= '0' && c <= '9';
}

// Rough decimal order of magnitude of a gathered number "ddd.ddde[+-]ddd": positive when it is
// far above 1, negative when far below. Only its sign is used, to tell overflow from underflow.
long DecimalOrder(const std::string& number) {
  const auto e = number.find('e');
  const std::string mantissa = number.substr(0, e);
  long exponent = 0;
  if (e != std::string::npos) {
    const bool minus = number[e + 1] == '-';
    for (std::size_t k = e + 1; k < number.size(); ++k) {
      if (Digit(number[k]) && exponent < 100000)
        exponent = exponent * 10 + (number[k] - '0');
    }
    if (minus)
      exponent = -exponent;
  }
  const auto point = mantissa.find('.');
  const auto first = mantissa.find_first_of("123456789");
  if (first == std::string::npos)
    return -1;  // all zeros
  const long pointAt =
      point == std::string::npos ? static_cast<long>(mantissa.size()) : static_cast<long>(point);
  const long firstAt = static_cast<long>(first);
  const long order = firstAt < pointAt ? pointAt - firstAt : pointAt - firstAt + 1;
  return order + exponent;
}
}  // namespace

namespace {
// The number that starts `text` and the index just past it (and past the blanks after it), or
// nothing when no number starts it.
std::optional<double> ReadLeadingNumber(std::string_view text, std::size_t& end) {
  // Gather the number's characters, leaving out the blanks Val skips.
  std::string number;
  bool negative = false;
  std::size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && Skipped(text[i]))
      ++i;
  };

  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool seenPoint = false;
  bool seenDigit = false;
  for (skip(); i < text.size(); ++i, skip()) {
    const char c = text[i];
    if (Digit(c)) {
      number += c;
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      number += c;
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit)
    return std::nullopt;
  end = i;

  // Exponent: E or D, an optional sign, then at least one digit; otherwise it is not part of the
  // number.
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::size_t j = i + 1;
    auto skipAt = [&] {
      while (j < text.size() && Skipped(text[j]))
        ++j;
    };
    skipAt();
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent += text[j];
      ++j;
    }
    bool exponentDigits = false;
    for (skipAt(); j < text.size() && Digit(text[j]); ++j, skipAt()) {
      exponent += text[j];
      exponentDigits = true;
    }
    if (exponentDigits) {
      number += exponent;
      end = j;
    }
  }

  double value = 0.0;
  const auto [last, error] = FromChars(number.data(), number.data() + number.size(), value);
  (void)last;
  if (error == std::errc::result_out_of_range) {
    if (DecimalOrder(number) > 0) {
      throw ArithmeticFault(messages::kEntryOverflowLead + Quoted(text) +
                            messages::kEntryOverflowText);
    }
    value = 0.0;  // too small to represent: reads as zero
  }
  return negative ? -value : value;
}
}  // namespace

std::optional<double> LeadingNumber(std::string_view text) {
  std::size_t end = 0;
  return ReadLeadingNumber(text, end);
}

std::string_view TextAfterNumber(std::string_view text) {
  std::size_t end = 0;
  if (!ReadLeadingNumber(text, end))
    return text;
  std::string_view rest = text.substr(end);
  while (!rest.empty() && Skipped(rest.back()))
    rest.remove_suffix(1);
  return rest;
}

double Val(std::string_view text) {
  return LeadingNumber(text).value_or(0.0);
}

}  // namespace rh
