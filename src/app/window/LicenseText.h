// Splitting the licence text into the viewer's lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace rh {

// The most of the licence file the viewer reads: any file opens at once.
constexpr std::size_t kLicenseMostBytes = 1 << 20;

// The licence viewer's items: every character with a code of 32 or above joins the current line;
// any other character (CR, LF, tab, other control characters) ends it and is dropped. Empty lines
// are never listed; a line of spaces is. Text after the last control character is listed too, so
// a final line without a line ending is not lost.
std::vector<std::string> LicenseLines(std::string_view text);

// The viewer's items for the licence file at `path`: its first MiB, and when the file goes on, a
// last item that says the rest is not shown. A missing file, a folder or any other file that cannot
// be read raises FileFault.
std::vector<std::string> ReadLicense(FileSystem& files, const std::string& path);

}  // namespace rh
