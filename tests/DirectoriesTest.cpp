#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Faults.h"
#include "platform/Directories.h"

namespace rh {
namespace {

using Names = std::vector<std::string>;

TEST(MatchesPattern, ClassicWildcards) {
  struct {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.hc1", "RUN.HC1", true},  // letters match regardless of case
      {"*.hc1", "run.hc1", true},
      {"*.hc1", "run.hc1.bak", false},  // the whole name must match
      {"*.hc1", "run.hc10", false},
      {"*.hc1", "hc1", false},
      {"*.*", "README", true},  // every file, with or without a dot
      {"*.*", ".profile", true},
      {"*.*", "a.b.c", true},
      {"", "anything", true},
      {"*", "README", true},
      {"?.txt", "a.txt", true},
      {"?.txt", "ab.txt", false},
      {"r?n*", "RUN.HC1", true},
      {"*a*b*c", "xxaxxbxxbxc", true},  // a later "*" restarts the match
      {"*a*b*c", "xxaxxbxx", false},
      {"*.hc1;*.txt", "notes.TXT", true},  // several patterns
      {"*.hc1;*.txt", "notes.doc", false},
      {"exact.dat", "EXACT.DAT", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.match) << c.pattern << " vs " << c.name;
}

TEST(PathHelpers, NormalizeAncestorsDriveAndJoin) {
  struct {
    const char* path;
    const char* base;
    const char* normal;
  } normal[] = {
      {"/", "/x", "/"}, {"/a/b/", "/", "/a/b"},  {"/a//b", "/", "/a/b"},       {"..", "/a/b", "/a"},
      {"..", "/", "/"}, {"c", "/a/b", "/a/b/c"}, {"/a/./b/../c", "/", "/a/c"},
  };
  for (const auto& c : normal)
    EXPECT_EQ(NormalizePath(c.path, c.base), c.normal) << c.path << " from " << c.base;

  EXPECT_EQ(Ancestors("/"), (Names{"/"}));
  EXPECT_EQ(Ancestors("/home/eng/runs"), (Names{"/", "/home", "/home/eng", "/home/eng/runs"}));

  const Names drives{"/", "/media/usb", "/work"};
  EXPECT_EQ(DriveOf("/work/runs", drives), "/work");
  EXPECT_EQ(DriveOf("/work", drives), "/work");
  EXPECT_EQ(DriveOf("/workshop", drives), "/");  // a name that only starts like a drive
  EXPECT_EQ(DriveOf("/media", drives), "/");
  EXPECT_EQ(DriveOf("/media/usb/a/b", drives), "/media/usb");

  EXPECT_EQ(JoinPath("/", "RUN.HC1"), "//RUN.HC1");  // the root keeps the doubled separator
  EXPECT_EQ(JoinPath("/runs", "RUN.HC1"), "/runs/RUN.HC1");
}

TEST(DrivesFromMounts, KeepsFileSystemsThatHoldFiles) {
  const std::string mounts =
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "devtmpfs /dev devtmpfs rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
      "/dev/vda / ext4 rw 0 0\n"
      "/dev/vdb /work ext4 rw 0 0\n"
      "/dev/sdb1 /media/My\\040Stick vfat rw 0 0\n"
      "/dev/vdc /srv/data/ xfs rw 0 0\n"
      "/dev/vdb /work ext4 rw 0 0\n"
      "garbage\n";
  EXPECT_EQ(DrivesFromMounts(mounts), (Names{"/", "/media/My Stick", "/srv/data", "/work"}));
  EXPECT_EQ(DrivesFromMounts(""), (Names{"/"}));
}

class StdDirectoriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("rh-dirs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    for (const char* d : {"Runs", "archive", "beta", ".hidden"})
      std::filesystem::create_directories(root_ / d);
    for (const char* f : {"b.hc1", "A.HC1", "notes.txt", "README", ".secret.hc1"})
      std::ofstream(root_ / f) << "x";
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::string Root() const { return root_.string(); }

  std::filesystem::path root_;
  StdDirectories dirs_;
};

TEST_F(StdDirectoriesTest, ListsSortedVisibleEntries) {
  EXPECT_EQ(dirs_.Subdirectories(Root()), (Names{"archive", "beta", "Runs"}));
  EXPECT_EQ(dirs_.Files(Root(), "*.hc1"), (Names{"A.HC1", "b.hc1"}));
  EXPECT_EQ(dirs_.Files(Root(), "*.*"), (Names{"A.HC1", "b.hc1", "notes.txt", "README"}));
  EXPECT_EQ(dirs_.Files(Root() + "/Runs", "*.*"), Names{});
}

TEST_F(StdDirectoriesTest, UnreadablePlacesRaiseDriveFault) {
  for (const std::string& bad : {Root() + "/missing", Root() + "/notes.txt", std::string()}) {
    EXPECT_THROW(dirs_.Subdirectories(bad), DriveFault) << bad;
    EXPECT_THROW(dirs_.Files(bad, "*.*"), DriveFault) << bad;
  }
}

TEST(StdDirectories, DrivesIncludeTheRoot) {
  StdDirectories dirs;
  const Names drives = dirs.Drives();
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "/");
  EXPECT_EQ(dirs.CurrentDirectory(), std::filesystem::current_path().string());
}

}  // namespace
}  // namespace rh
