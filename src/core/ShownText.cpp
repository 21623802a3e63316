#include "core/ShownText.h"

#include <algorithm>

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

// The code point of the well-formed UTF-8 sequence `piece`.
char32_t CodePoint(std::string_view piece) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(piece[i]); };
  char32_t point = piece.size() == 2   ? byte(0) & 0x1F
                   : piece.size() == 3 ? byte(0) & 0x0F
                                       : byte(0) & 0x07;
  for (std::size_t i = 1; i < piece.size(); ++i)
    point = (point << 6) | (byte(i) & 0x3F);
  return point;
}

// C1 controls (a terminal reads U+009B as the start of a control sequence) and the controls that
// reorder text on screen (bidi embeddings, overrides, isolates and marks).
bool ControlPoint(char32_t point) {
  return (point >= 0x80 && point <= 0x9F) || point == 0x200E || point == 0x200F ||
         (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

// Calls `shown(piece)` for each character of `text` as a message shows it: a printable ASCII
// character or a well-formed UTF-8 sequence as it is; C0 controls, DEL, C1 and bidi controls and
// bytes that are not UTF-8 as "?".
template <typename Shown>
void EachCharacter(std::string_view text, Shown&& shown) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (c < 0x80) {
      shown(c < 0x20 || c == 0x7F ? std::string_view("?") : text.substr(i, 1));
    } else if ((length = Utf8Length(text.substr(i))) != 0) {
      const std::string_view piece = text.substr(i, length);
      shown(ControlPoint(CodePoint(piece)) ? std::string_view("?") : piece);
    } else {
      length = 1;
      shown(std::string_view("?"));
    }
    i += length;
  }
}

}  // namespace

std::string ShownText(std::string_view text, std::size_t most) {
  std::size_t count = 0;
  EachCharacter(text, [&](std::string_view) { ++count; });
  // A text too long keeps its first `head` and last `tail` characters around "...".
  const bool cut = count > most;
  const std::size_t head = most >= 3 ? (most - 3) / 2 : 0;
  const std::size_t tail = most >= 3 ? most - 3 - head : 0;
  std::string out;
  out.reserve(std::min(text.size(), 4 * most));
  std::size_t index = 0;
  EachCharacter(text, [&](std::string_view piece) {
    if (!cut || index < head || index >= count - tail)
      out.append(piece);
    else if (index == head)
      out.append("...");
    ++index;
  });
  return out;
}

std::string Quoted(std::string_view text) {
  return "\"" + ShownText(text) + "\"";
}

}  // namespace rh
