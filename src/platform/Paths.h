// Paths as the host spells them. On Windows a path may separate its parts with '\' or '/' and may
// start with a drive ("C:") or a share ("\\server\share"); elsewhere only '/' separates, and a
// backslash is an ordinary character of a name. Paths are UTF-8 text throughout the program.
#pragma once

#include <string>
#include <string_view>

namespace rh {

enum class PathStyle { Posix, Windows };

#ifdef _WIN32
inline constexpr PathStyle kHostPathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kHostPathStyle = PathStyle::Posix;
#endif

bool IsPathSeparator(char c, PathStyle style = kHostPathStyle);

// True when no folder can be put before `path`: it starts at a root ("/x"; on Windows also "\x",
// "C:\x", "C:/x", "\\server\share\x") or, on Windows, names a drive ("C:x", the current folder
// of drive C).
bool IsRootedPath(std::string_view path, PathStyle style = kHostPathStyle);

// The folder part of `path` with its closing separator: "runs/" of "runs/a.csv", "/" of "/a.csv",
// on Windows "C:\runs\" of "C:\runs\a.csv" and "C:" of "C:a.csv". "" for a bare name.
std::string FolderPart(std::string_view path, PathStyle style = kHostPathStyle);

// `name` in `folder`. A separator goes between them unless the folder ends in one (or is a bare
// drive, "C:"); it is the last one the folder uses, so a path reads as it was typed, and for a
// folder without any the host's own ('\' on Windows). An empty folder, or a rooted `name`, gives
// `name` as it is.
std::string PathInFolder(std::string_view folder, std::string_view name,
                         PathStyle style = kHostPathStyle);

// True when the last part of `path` is a device name Windows keeps in every folder: CON, PRN,
// AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any case and also with an extension ("nul.txt").
bool IsWindowsDeviceName(std::string_view path);

// True when `path` holds a colon anywhere but in its drive prefix ("C:", "\\?\C:"): on NTFS
// "deck.hc1:notes" names a hidden stream inside deck.hc1, not a file of its own.
bool HasColonPastDrive(std::string_view path);

}  // namespace rh
