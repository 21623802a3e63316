// The maker's texts shown on the screens: name, rights notice, contact line, web address and the
// program's revision note.
#pragma once

#include <string>

#include "Version.h"

namespace rh::maker {

inline constexpr const char* kName = "Orvane Engineering Company";
inline constexpr const char* kRightsNotice = "Copyright \u00A9 2026 Orvane Engineering Company";
inline constexpr const char* kContactLine = "Support desk: support@orvane.example";
// A reserved example domain: no real site is implied.
inline constexpr const char* kWebAddress = "www.orvane.example";

// "v<version> <release date>", e.g. "v1.0.0 2026-12-07".
inline std::string RevisionNote() {
  return std::string("v") + kVersion + " " + kReleaseDate;
}

}  // namespace rh::maker
