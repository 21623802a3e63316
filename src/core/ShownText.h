// Text taken from the user's entries, files and paths, as a message may show it: one form for
// every echoed path, cell and name, so no message carries a terminal's control sequences or bytes
// that are not UTF-8, and none grows with what it quotes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rh {

// `text` made safe for a message or a UTF-8 file: control characters (C0, DEL, C1, and the bidi
// controls that reorder what a screen shows) and bytes that are not UTF-8 shown as "?" (a UTF-8
// character counts once). A text of more than `most` characters keeps its
// start and its end (for a path, the file's own name) with "..." between them, `most` characters
// in all.
std::string ShownText(std::string_view text, std::size_t most = 80);

// ShownText in double quotes.
std::string Quoted(std::string_view text);

}  // namespace rh
