// The rules that let one core serve POSIX and Windows hosts: paths split and joined with drive
// letters and either separator, and listing line ends.
#include <gtest/gtest.h>

#include <string>

#include "platform/HostLocale.h"
#include "platform/HostText.h"
#include "platform/Paths.h"

namespace rh {
namespace {

constexpr PathStyle kPosix = PathStyle::Posix;
constexpr PathStyle kWindows = PathStyle::Windows;

// The paper of a locale: the first of LC_ALL, LC_PAPER and LANG that is set names the territory;
// none named (C, POSIX, nothing set) is Letter, as for the United States.
TEST(HostLocale, PaperFromTheTerritory) {
  struct {
    const char* all;
    const char* paper;
    const char* lang;
    PageSize expected;
  } cases[] = {
      {nullptr, nullptr, "en_US.UTF-8", PageSize::Letter},
      {nullptr, nullptr, "en_GB.UTF-8", PageSize::A4},
      {nullptr, "fr_CA.UTF-8", "de_DE.UTF-8", PageSize::Letter},
      {"de_DE@euro", "en_US.UTF-8", "en_US.UTF-8", PageSize::A4},
      {"", "", "es_MX", PageSize::Letter},
      {"C", "en_GB.UTF-8", nullptr, PageSize::Letter},
      {nullptr, nullptr, "C.UTF-8", PageSize::Letter},
      {nullptr, nullptr, nullptr, PageSize::Letter},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PaperForLocale(c.all, c.paper, c.lang), c.expected)
        << (c.all ? c.all : "-") << " " << (c.paper ? c.paper : "-") << " "
        << (c.lang ? c.lang : "-");
  EXPECT_EQ(LongDateOf(2026, 12, 8), "December 8, 2026");
  EXPECT_EQ(LongDateOf(2027, 1, 31), "January 31, 2027");
}

TEST(Paths, FolderPartAndRootedPaths) {
  const struct {
    const char* path;
    PathStyle style;
    const char* folder;
    bool rooted;
  } rows[] = {
      {"basins.csv", kPosix, "", false},
      {"runs/basins.csv", kPosix, "runs/", false},
      {"/basins.csv", kPosix, "/", true},
      {"runs\\basins.csv", kPosix, "", false},  // a backslash is part of a POSIX name
      {"C:\\runs\\basins.csv", kPosix, "", false},
      {"runs\\basins.csv", kWindows, "runs\\", false},
      {"C:\\runs/in\\basins.csv", kWindows, "C:\\runs/in\\", true},
      {"C:/basins.csv", kWindows, "C:/", true},
      {"C:basins.csv", kWindows, "C:", true},  // drive C's current folder
      {"\\\\server\\share\\basins.csv", kWindows, "\\\\server\\share\\", true},
      {"\\basins.csv", kWindows, "\\", true},
      {"1:basins.csv", kWindows, "", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(FolderPart(row.path, row.style), row.folder);
    EXPECT_EQ(IsRootedPath(row.path, row.style), row.rooted);
  }
}

TEST(Paths, JoinKeepsTheFoldersSeparator) {
  const struct {
    const char* folder;
    const char* name;
    PathStyle style;
    const char* path;
  } rows[] = {
      {"", "A1.txt", kPosix, "A1.txt"},
      {"out", "A1.txt", kPosix, "out/A1.txt"},
      {"out/", "A1.txt", kPosix, "out/A1.txt"},
      {"/", "A1.txt", kPosix, "/A1.txt"},
      {"out\\", "A1.txt", kPosix, "out\\/A1.txt"},
      {"in", "/data/atlas.csv", kPosix, "/data/atlas.csv"},
      {"out", "A1.txt", kWindows, "out\\A1.txt"},
      {"C:\\runs\\out", "A1.txt", kWindows, "C:\\runs\\out\\A1.txt"},
      {"C:\\runs/out", "A1.txt", kWindows, "C:\\runs/out/A1.txt"},
      {"C:\\runs\\out\\", "A1.txt", kWindows, "C:\\runs\\out\\A1.txt"},
      {"C:", "A1.txt", kWindows, "C:A1.txt"},
      {"C:\\", "A1.txt", kWindows, "C:\\A1.txt"},
      {"in", "D:\\data\\atlas.csv", kWindows, "D:\\data\\atlas.csv"},
      {"in", "\\\\server\\atlas.csv", kWindows, "\\\\server\\atlas.csv"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.folder) + " + " + row.name);
    EXPECT_EQ(PathInFolder(row.folder, row.name, row.style), row.path);
  }
}

TEST(Paths, WindowsDeviceNames) {
  for (const char* device :
       {"NUL", "con", "C:\\runs\\aux.hc1", "out/Com1.txt", "lpt9", "PRN ", "C:nul"})
    EXPECT_TRUE(IsWindowsDeviceName(device)) << device;
  for (const char* file :
       {"NULL", "console.txt", "COM0", "LPT10", "com1x", "runs\\CON\\a.hc1", "a.con", ""})
    EXPECT_FALSE(IsWindowsDeviceName(file)) << file;
}

// A colon past the drive names a hidden stream of another file on NTFS.
TEST(Paths, ColonPastDrive) {
  for (const char* stream :
       {"x.hc1:stream", "C:\\runs\\a.hc1:s", "C:x:y", "\\\\?\\C:\\a:b", "runs/a:b"})
    EXPECT_TRUE(HasColonPastDrive(stream)) << stream;
  for (const char* file : {"C:\\runs\\a.hc1", "c:a.hc1", "\\\\?\\C:\\a", "runs/a.hc1", ""})
    EXPECT_FALSE(HasColonPastDrive(file)) << file;
}

TEST(HostText, LineEnds) {
  EXPECT_EQ(WithLineEnds("a\nb\n", "\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(WithLineEnds("\na\r\nb", "\r\n"), "\r\na\r\nb");  // a CR LF is not doubled
  EXPECT_EQ(WithLineEnds("a\r\nb\n", "\n"), "a\r\nb\n");
  EXPECT_EQ(HostText("a\nb\n"), WithLineEnds("a\nb\n", kHostLineEnd));
}

}  // namespace
}  // namespace rh
