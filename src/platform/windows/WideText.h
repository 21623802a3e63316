// UTF-8 text of the program and the UTF-16 text of the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace rh::windows {

// UTF-16 of UTF-8 `text`; a byte that is not UTF-8 becomes U+FFFD.
std::wstring Wide(std::string_view text);

// UTF-8 of UTF-16 `text`; an unpaired surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view text);

// `path` for the file functions: UTF-16, and a long path (beyond the classic 260 characters)
// made absolute and given the "\\?\" prefix that lifts the limit.
std::wstring ApiPath(std::string_view path);

// The system's words for an error code, without the closing period and line end.
std::string SystemMessage(unsigned long error);

}  // namespace rh::windows
