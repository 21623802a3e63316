// The maker's texts shown on the screens: name, rights notice, contact line, web address and the
// program's revision note.
#pragma once

#include <string>

#include "Version.h"

namespace rh::maker {

inline constexpr const char* kName = "Orvane Engineering Company";
inline constexpr const char* kRightsNotice = "Copyright \u00A9 2026 Orvane Engineering Company";
inline constexpr const char* kContactLine = "Support desk: support@orvane-engineering.example";
// A reserved example domain: no real site is implied.
inline constexpr const char* kWebAddress = "www.orvane-engineering.example";

// "Rev. <version> <release date>", e.g. "Rev. 1.0.0 2026-12-07".
inline std::string RevisionNote() {
  return std::string("Rev. ") + kVersion + " " + kReleaseDate;
}

}  // namespace rh::maker
