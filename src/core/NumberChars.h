// Doubles to decimal text and back, exactly as std::to_chars and std::from_chars do it.
//
// Some standard libraries (emscripten's libc++ among them) offer to_chars and from_chars for
// integers only. There the forms come from the C library's printf and strtod, which give the same
// characters: to_chars with a precision is defined as printf's %.*f, %.*e and %.*g, the shortest
// form is found by trying more digits until the text reads back as the same double, and strtod
// reads the text once from_chars' own rules have found where the number ends. Call ToChars and
// FromChars wherever a double becomes text or is read; they are the standard functions themselves
// where the library has them.
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

// Reads the number at the start of [first, last) as std::from_chars(first, last, value, format)
// does: an optional "-", then digits with at most one point and (unless `format` is fixed) an
// exponent, or "inf", "infinity", "nan", "nan(...)" in any case; no spaces, "+" or "0x". Nothing
// read: errc::invalid_argument and `first`. A value beyond the double range, or a non-zero one
// that rounds to zero: errc::result_out_of_range, the end of the number, and `value` untouched.
// Hexadecimal (chars_format::hex) is not offered: errc::invalid_argument.
std::from_chars_result Read(const char* first, const char* last, double& value,
                            std::chars_format format);

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

inline std::from_chars_result FromChars(const char* first, const char* last, double& value,
                                        std::chars_format format = std::chars_format::general) {
#if defined(__cpp_lib_to_chars)
  return std::from_chars(first, last, value, format);
#else
  return numberchars::Read(first, last, value, format);
#endif
}

}  // namespace rh
