// The standard faces every PDF reader has (Helvetica and Courier, upright and bold), which the
// program's PDF documents use without embedding a font: their character set (WinAnsi) and the
// advance widths that lay out a line of text before it is written.
#pragma once

#include <string>
#include <string_view>

namespace rh {

// The text in WinAnsi, one byte a character: UTF-8 sequences of the set become their codes, any
// other character (or a broken sequence) "?", and control characters are left out.
std::string WinAnsiText(std::string_view utf8);

// The advance width of WinAnsi `code` in Helvetica (or Helvetica-Bold), or in Courier whose every
// character is 600 wide, in thousandths of the em; 0 for codes the set leaves undefined.
int StandardAdvance(unsigned char code, bool bold, bool mono);

}  // namespace rh
