#include "platform/StandardFonts.h"

#include <cstdint>

namespace rh {

namespace {

// Advance widths of WinAnsi codes 32 to 255 in Helvetica and Helvetica-Bold, thousandths of the
// em, as the faces' metrics give them (0 where the encoding defines no character).
constexpr std::uint16_t kHelvetica[224] = {
    278,  278, 355, 556, 556,  889, 667, 191, 333, 333, 389, 584,  278, 333,  278,  278,  556, 556,
    556,  556, 556, 556, 556,  556, 556, 556, 278, 278, 584, 584,  584, 556,  1015, 667,  667, 722,
    722,  667, 611, 778, 722,  278, 500, 667, 556, 833, 722, 778,  667, 778,  722,  667,  611, 722,
    667,  944, 667, 667, 611,  278, 278, 278, 469, 556, 333, 556,  556, 500,  556,  556,  278, 556,
    556,  222, 222, 500, 222,  833, 556, 556, 556, 556, 333, 500,  278, 556,  500,  722,  500, 500,
    500,  334, 260, 334, 584,  0,   556, 0,   222, 556, 333, 1000, 556, 556,  333,  1000, 667, 333,
    1000, 0,   611, 0,   0,    222, 222, 333, 333, 350, 556, 1000, 333, 1000, 500,  333,  944, 0,
    500,  667, 278, 333, 556,  556, 556, 556, 260, 556, 333, 737,  370, 556,  584,  333,  737, 333,
    400,  584, 333, 333, 333,  556, 537, 278, 333, 333, 365, 556,  834, 834,  834,  611,  667, 667,
    667,  667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278,  278, 278,  722,  722,  778, 778,
    778,  778, 778, 584, 778,  722, 722, 722, 722, 667, 667, 611,  556, 556,  556,  556,  556, 556,
    889,  500, 556, 556, 556,  556, 278, 278, 278, 278, 556, 556,  556, 556,  556,  556,  556, 584,
    611,  556, 556, 556, 556,  500, 556, 500};
constexpr std::uint16_t kHelveticaBold[224] = {
    278,  333, 474, 556, 556,  889, 722, 238, 333, 333, 389, 584,  278, 333,  278, 278,  556, 556,
    556,  556, 556, 556, 556,  556, 556, 556, 333, 333, 584, 584,  584, 611,  975, 722,  722, 722,
    722,  667, 611, 778, 722,  278, 556, 722, 611, 833, 722, 778,  667, 778,  722, 667,  611, 722,
    667,  944, 667, 667, 611,  333, 278, 333, 584, 556, 333, 556,  611, 556,  611, 556,  333, 611,
    611,  278, 278, 556, 278,  889, 611, 611, 611, 611, 389, 556,  333, 611,  556, 778,  556, 556,
    500,  389, 280, 389, 584,  0,   556, 0,   278, 556, 500, 1000, 556, 556,  333, 1000, 667, 333,
    1000, 0,   611, 0,   0,    278, 278, 500, 500, 350, 556, 1000, 333, 1000, 556, 333,  944, 0,
    500,  667, 278, 333, 556,  556, 556, 556, 280, 556, 333, 737,  370, 556,  584, 333,  737, 333,
    400,  584, 333, 333, 333,  611, 556, 278, 333, 333, 365, 556,  834, 834,  834, 611,  722, 722,
    722,  722, 722, 722, 1000, 722, 667, 667, 667, 667, 278, 278,  278, 278,  722, 722,  778, 778,
    778,  778, 778, 584, 778,  722, 722, 722, 722, 667, 667, 611,  556, 556,  556, 556,  556, 556,
    889,  556, 556, 556, 556,  556, 278, 278, 278, 278, 611, 611,  611, 611,  611, 611,  611, 584,
    611,  611, 611, 611, 611,  556, 611, 556};
constexpr int kCourierAdvance = 600;

// Characters of WinAnsi's codes 128 to 159, which Unicode keeps elsewhere (0: undefined).
constexpr char32_t kHighCodes[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The WinAnsi code of `c`, or '?' when the set has none.
char WinAnsiCode(char32_t c) {
  if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
    return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighCodes[i] != 0 && kHighCodes[i] == c)
      return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string WinAnsiText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int length = 1;
    char32_t c = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
      length = 4;
      c = lead & 0x07;
    } else if (lead >= 0xE0) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xC2) {
      length = 2;
      c = lead & 0x1F;
    } else if (lead >= 0x80) {
      length = 0;  // a stray continuation byte, or an overlong or invalid lead
    }
    int taken = 1;
    for (; taken < length; ++taken) {
      if (i + static_cast<std::size_t>(taken) >= utf8.size())
        break;
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(taken)]);
      if ((next & 0xC0) != 0x80)
        break;
      c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(taken);
    if (length == 0 || taken < length)
      out += '?';
    else if (c >= 0x20)
      out += WinAnsiCode(c);
    // control characters draw nothing
  }
  return out;
}

int StandardAdvance(unsigned char code, bool bold, bool mono) {
  if (code < 0x20)
    return 0;
  const int width = (bold ? kHelveticaBold : kHelvetica)[code - 0x20];
  if (mono)
    return width == 0 ? 0 : kCourierAdvance;
  return width;
}

}  // namespace rh
