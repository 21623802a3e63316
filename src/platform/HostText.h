// Text files for people, such as listings, in the line ends of the host's own programs: CR LF on
// Windows, LF elsewhere. (HEC-1 decks are CR LF everywhere; standard output gets the host's line
// ends from the C library.)
#pragma once

#include <string>
#include <string_view>

namespace rh {

#ifdef _WIN32
inline constexpr std::string_view kHostLineEnd = "\r\n";
#else
inline constexpr std::string_view kHostLineEnd = "\n";
#endif

// `text` with each line feed written as `lineEnd`; a CR LF already there stays as it is.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd);

// `text` with the host's line ends.
std::string HostText(std::string text);

}  // namespace rh
