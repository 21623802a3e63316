// Splitting the licence text into the viewer's lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rh {

// The licence viewer's items: every character with a code of 32 or above joins the current line;
// any other character (CR, LF, tab, other control characters) ends it and is dropped. Empty lines
// are never listed; a line of spaces is. Text after the last control character is listed too, so
// a final line without a line ending is not lost.
std::vector<std::string> LicenseLines(std::string_view text);

}  // namespace rh
