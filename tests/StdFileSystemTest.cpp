#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Faults.h"
#include "platform/FileSystem.h"

namespace rh {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "rh-fs-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  fs::path path_;
};

struct Mode {
  const char* name;
  StdFileSystem::Durability durability;
};
const Mode kModes[] = {{"synced", StdFileSystem::Durability::Synced},
                       {"deferred", StdFileSystem::Durability::Deferred}};

TEST(StdFileSystem, ReplaceCreatesAndOverwritesWithoutLeftovers) {
  for (const Mode& m : kModes) {
    TempDir dir;
    StdFileSystem files(m.durability);
    const std::string path = dir / "A.txt";
    files.ReplaceText(path, "first\n");
    EXPECT_EQ(files.ReadText(path), "first\n") << m.name;
    ::chmod(path.c_str(), 0600);
    // The second write replaces a longer text with a shorter one: nothing of the first remains.
    files.ReplaceText(path, "2\n");
    EXPECT_EQ(files.ReadText(path), "2\n") << m.name;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << m.name << ": the earlier file's permissions stay";
    // A batch's earlier files are removed in the background, all gone once it closes with SyncAll.
    files.SyncAll(dir / "");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"A.txt"}) << m.name;
  }
}

TEST(StdFileSystem, FailuresLeaveNothingBehind) {
  for (const Mode& m : kModes) {
    TempDir dir;
    StdFileSystem files(m.durability);
    EXPECT_THROW(files.ReplaceText(dir / "missing/A.txt", "x"), FileFault) << m.name;
    EXPECT_THROW(files.ReplaceText(dir / "", "x"), FileFault) << m.name;
    EXPECT_THROW(files.ReplaceText("", "x"), FileFault) << m.name;
    EXPECT_THROW(files.SyncAll(dir / "missing"), FileFault) << m.name;
    EXPECT_TRUE(dir.Names().empty()) << m.name;
  }
}

}  // namespace
}  // namespace rh
