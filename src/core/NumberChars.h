// Decimal forms of doubles written into a character buffer, exactly as std::to_chars writes them.
//
// Some standard libraries (emscripten's libc++ among them) offer std::to_chars for integers only.
// There the forms come from the C library's printf and strtod, which give the same characters:
// to_chars with a precision is defined as printf's %.*f, %.*e and %.*g, and the shortest form is
// found by trying more digits until the text reads back as the same double. Call ToChars wherever
// a double becomes text; it is std::to_chars itself where the library has it.
#pragma once

#include <charconv>
#include <system_error>

namespace rh {

namespace numberchars {

// The shortest text that reads back as `value` (the form of std::to_chars(first, last, value)),
// written by printf and strtod in the "C" numeric locale. Fails with errc::value_too_large, and
// returns `last`, when the buffer is too small.
std::to_chars_result Shortest(char* first, char* last, double value);

// The text of `value` with `precision` digits in `format` (fixed, scientific or general: printf's
// %.*f, %.*e or %.*g in the "C" numeric locale). Errors as Shortest.
std::to_chars_result WithPrecision(char* first, char* last, double value, std::chars_format format,
                                   int precision);

}  // namespace numberchars

inline std::to_chars_result ToChars(char* first, char* last, double value) {
#if defined(__cpp_lib_to_chars)
  return std::to_chars(first, last, value);
#else
  return numberchars::Shortest(first, last, value);
#endif
}

inline std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                                    int precision) {
#if defined(__cpp_lib_to_chars)
  return std::to_chars(first, last, value, format, precision);
#else
  return numberchars::WithPrecision(first, last, value, format, precision);
#endif
}

}  // namespace rh
