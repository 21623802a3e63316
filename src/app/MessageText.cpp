#include "app/MessageText.h"

namespace rh {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0 when there is none
// (overlong forms, surrogates and values beyond U+10FFFF are not well formed).
std::size_t Utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high)
    return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF)
      return 0;
  }
  return length;
}

}  // namespace

std::string ShownText(std::string_view text, std::size_t most) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (characters == most) {
      out += "...";
      break;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
      ++i;
    } else if (const std::size_t length = Utf8Length(text.substr(i))) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out += '?';
      ++i;
    }
    ++characters;
  }
  return out;
}

std::string Quoted(std::string_view text) {
  return "\"" + ShownText(text) + "\"";
}

}  // namespace rh
