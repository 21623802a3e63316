// Text taken from the user's entries or files, as a message may show it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rh {

// `text` made safe for a message or a UTF-8 file: control characters and bytes that are not UTF-8
// shown as "?", at most `most` characters, a longer text cut with "..." at its end.
std::string ShownText(std::string_view text, std::size_t most = 80);

// ShownText in double quotes.
std::string Quoted(std::string_view text);

}  // namespace rh
