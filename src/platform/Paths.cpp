#include "platform/Paths.h"

#include <cctype>

namespace rh {

namespace {

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "C:" at the start of a Windows path.
bool StartsWithDrive(std::string_view path, PathStyle style) {
  return style == PathStyle::Windows && path.size() >= 2 && IsDriveLetter(path[0]) &&
         path[1] == ':';
}

}  // namespace

bool IsPathSeparator(char c, PathStyle style) {
  return c == '/' || (style == PathStyle::Windows && c == '\\');
}

bool IsRootedPath(std::string_view path, PathStyle style) {
  return (!path.empty() && IsPathSeparator(path.front(), style)) || StartsWithDrive(path, style);
}

std::string FolderPart(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (IsPathSeparator(path[i], style))
      return std::string(path.substr(0, i + 1));
  }
  return StartsWithDrive(path, style) ? std::string(path.substr(0, 2)) : std::string();
}

std::string PathInFolder(std::string_view folder, std::string_view name, PathStyle style) {
  if (folder.empty() || IsRootedPath(name, style))
    return std::string(name);
  std::string path(folder);
  const bool bareDrive = folder.size() == 2 && StartsWithDrive(folder, style);
  if (!IsPathSeparator(folder.back(), style) && !bareDrive) {
    char separator = style == PathStyle::Windows ? '\\' : '/';
    for (std::size_t i = folder.size(); i-- > 0;) {
      if (IsPathSeparator(folder[i], style)) {
        separator = folder[i];
        break;
      }
    }
    path += separator;
  }
  path += name;
  return path;
}

bool IsWindowsDeviceName(std::string_view path) {
  std::size_t start = path.size();
  while (start > 0 && !IsPathSeparator(path[start - 1], PathStyle::Windows) &&
         path[start - 1] != ':')
    --start;
  std::string_view name = path.substr(start);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ')
    name.remove_suffix(1);
  std::string upper;
  for (const char c : name)
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL")
    return true;
  return upper.size() == 4 &&
         (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

bool HasColonPastDrive(std::string_view path) {
  // The long-path and device prefixes, \\?\ and \\.\, come before any drive.
  if (path.size() >= 4 && IsPathSeparator(path[0], PathStyle::Windows) &&
      IsPathSeparator(path[1], PathStyle::Windows) && (path[2] == '?' || path[2] == '.') &&
      IsPathSeparator(path[3], PathStyle::Windows))
    path.remove_prefix(4);
  if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0]))
    path.remove_prefix(2);
  return path.find(':') != std::string_view::npos;
}

}  // namespace rh
