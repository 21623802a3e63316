#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/FileSystem.h"
#include "platform/WriteCleanup.h"

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
  const fs::path& path() const { return path_; }
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

// A batch run again writes each file over an earlier one it swapped out: every file then holds
// exactly its own text and keeps its own permissions, whatever the reused file held.
TEST(StdFileSystem, RunAgainEachFileHoldsExactlyItsText) {
  TempDir dir;
  StdFileSystem files(StdFileSystem::Durability::Deferred);
  const std::string longText(5000, 'x');
  for (const char* name : {"A.txt", "B.txt", "C.txt"})
    files.ReplaceText(dir / name, longText + name);
  ::chmod((dir / "B.txt").c_str(), 0600);
  files.ReplaceText(dir / "A.txt", "a\n");  // A's earlier file is now spare
  files.ReplaceText(dir / "B.txt", "b\n");  // written over it
  files.ReplaceAll({{dir / "C.txt", "c\n"}, {dir / "D.txt", "d\n"}});
  files.SyncAll(dir / "");
  for (const auto& [name, text] : {std::pair<const char*, const char*>{"A.txt", "a\n"},
                                   {"B.txt", "b\n"},
                                   {"C.txt", "c\n"},
                                   {"D.txt", "d\n"}})
    EXPECT_EQ(files.ReadText(dir / name), text) << name;
  struct stat info {};
  ASSERT_EQ(::stat((dir / "B.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(dir.Names().size(), 4u) << "no spare is left";
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

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Hidden(const std::vector<std::string>& names) {
  return std::any_of(names.begin(), names.end(), [](const std::string& n) { return n[0] == '.'; });
}

// What a thrown FileFault said, or "no fault".
std::string FaultOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const FileFault& fault) {
    return fault.what();
  }
  return "no fault";
}

// Runs `body` in a forked child and returns what it reported: empty when all its checks held.
std::string InChild(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0)
    return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    const std::string report = body();
    if (::write(pipeFds[1], report.data(), report.size()) < 0)
      ::_exit(2);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    report += " (the child ended abnormally)";
  return report;
}

// A folder, FIFO, device or a link to one at the target: every operation refuses it, naming the
// path, and leaves it as it was with nothing beside it.
TEST(StdFileSystem, OnlyRegularFilesAreReadReplacedOrRemoved) {
  ::alarm(60);  // reading a FIFO would otherwise wait for a writer forever
  const struct {
    const char* name;
    mode_t type;
    bool link;  // a symbolic link to it at the target
    const char* says;
  } cases[] = {{"folder", S_IFDIR, false, "folder"},
               {"fifo", S_IFIFO, false, "special"},
               {"link to a fifo", S_IFIFO, true, "special"},
               {"device (/dev/null)", S_IFCHR, false, "special"}};
  std::string skipped;
  for (const Mode& m : kModes) {
    for (const auto& c : cases) {
      TempDir dir;
      const std::string path = dir / "target";
      const std::string thing = c.link ? path + ".thing" : path;
      if ((S_ISDIR(c.type) ? ::mkdir(thing.c_str(), 0755)
                           : ::mknod(thing.c_str(), c.type | 0666, makedev(1, 3))) != 0) {
        skipped += std::string(c.name) + ": " + std::strerror(errno) + " (needs root). ";
        continue;
      }
      if (c.link)
        ::symlink(thing.c_str(), path.c_str());
      struct stat before {};
      ::lstat(path.c_str(), &before);
      StdFileSystem files(m.durability);
      for (const std::string& fault :
           {FaultOf([&] { files.ReplaceText(path, "new"); }), FaultOf([&] {
              files.ReplaceAll({{dir / "first.txt", "new"}, {path, "new"}});
            }),
            FaultOf([&] { files.Remove(path); }), FaultOf([&] { files.ReadText(path); })}) {
        EXPECT_NE(fault.find(c.says), std::string::npos) << m.name << ", " << c.name << fault;
        EXPECT_NE(fault.find(path), std::string::npos) << m.name << ", " << c.name << fault;
      }
      files.SyncAll(dir / "");
      struct stat after {};
      ::lstat(path.c_str(), &after);
      EXPECT_EQ(after.st_ino, before.st_ino) << m.name << ", " << c.name;
      EXPECT_EQ(after.st_mode, before.st_mode) << m.name << ", " << c.name;
      EXPECT_EQ(dir.Names().size(), c.link ? 2u : 1u) << m.name << ", " << c.name;
    }
  }
  ::alarm(0);
  if (!skipped.empty())
    GTEST_SKIP() << skipped;
}

// A batch lists its folder before it writes there; whatever takes a name after the listing is
// looked at when the name is written, as it would have been without the listing.
TEST(StdFileSystem, NamesTakenAfterTheListingAreLookedAtAsUsual) {
  const struct {
    const char* name;
    std::function<void(const TempDir&)> take;  // what takes dir/target after the listing
    const char* refused;                       // the fault's words, or null when written
    const char* written;                       // where the text lands
  } cases[] = {
      {"file", [](const TempDir& d) { Put(d / "target", "earlier"); }, nullptr, "target"},
      {"folder", [](const TempDir& d) { ::mkdir((d / "target").c_str(), 0755); }, "folder",
       nullptr},
      {"link to a file",
       [](const TempDir& d) {
         Put(d / "deck", "earlier");
         ::symlink("deck", (d / "target").c_str());
       },
       nullptr, "deck"},
      {"dangling link", [](const TempDir& d) { ::symlink("new", (d / "target").c_str()); }, nullptr,
       "new"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    StdFileSystem files(StdFileSystem::Durability::Deferred);
    files.ListFolder(dir.path().string());
    c.take(dir);
    if (fs::is_regular_file(dir / "target"))
      ::chmod((dir / "target").c_str(), 0600);
    const std::string fault = FaultOf([&] { files.ReplaceText(dir / "target", "new text"); });
    files.SyncAll(dir / "");
    if (c.refused != nullptr) {
      EXPECT_NE(fault.find(c.refused), std::string::npos) << c.name << ": " << fault;
      EXPECT_TRUE(fs::is_directory(dir / "target")) << c.name;
      EXPECT_EQ(dir.Names().size(), 1u) << c.name << ": no temporary is left";
      continue;
    }
    EXPECT_EQ(fault, "no fault") << c.name;
    EXPECT_EQ(Slurp(dir / c.written), "new text") << c.name;
    if (std::string(c.name) == "file") {
      EXPECT_EQ(fs::status(dir / "target").permissions(), fs::perms(0600)) << c.name;
    } else {
      EXPECT_TRUE(fs::is_symlink(dir / "target")) << c.name;
    }
  }
}

// A symbolic link leads to the file that is replaced, and stays a link; Remove takes the link.
TEST(StdFileSystem, LinksAreFollowedAndKept) {
  for (const Mode& m : kModes) {
    TempDir dir;
    Put(dir / "deck.hc1", "earlier");
    ::symlink("deck.hc1", (dir / "latest.hc1").c_str());
    ::symlink("new.hc1", (dir / "dangling.hc1").c_str());
    StdFileSystem files(m.durability);
    files.ReplaceText(dir / "latest.hc1", "through the link");
    files.ReplaceText(dir / "dangling.hc1", "made where it points");
    files.SyncAll(dir / "");
    EXPECT_EQ(Slurp(dir / "deck.hc1"), "through the link") << m.name;
    EXPECT_EQ(Slurp(dir / "new.hc1"), "made where it points") << m.name;
    EXPECT_TRUE(fs::is_symlink(dir / "latest.hc1")) << m.name;
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.hc1")) << m.name;
    for (const char* name : {"latest.hc1", "dangling.hc1", "dangling.hc1"})  // gone already: fine
      files.Remove(dir / name);
    EXPECT_EQ(dir.Names().size(), 2u) << m.name;  // deck.hc1 and new.hc1
  }
}

TEST(StdFileSystem, NewFilesTakeTheUmaskAsAPlainOpenWould) {
  for (const mode_t mask : {022, 002, 077}) {
    for (const Mode& m : kModes) {
      TempDir dir;
      StdFileSystem files(m.durability);
      const mode_t before = ::umask(mask);
      files.ReplaceText(dir / "one.txt", "1");
      files.ReplaceAll({{dir / "two.txt", "2"}});
      ::umask(before);
      for (const char* name : {"one.txt", "two.txt"}) {
        struct stat info {};
        ::stat((dir / name).c_str(), &info);
        EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask) << m.name << ", " << name << ", " << mask;
      }
    }
  }
}

// A read-only file is refused to a user who may not write it, as a plain open would be; the
// superuser may open it, so may replace it.
TEST(StdFileSystem, ReadOnlyFileNeedsWritePermission) {
  TempDir dir;
  const std::string path = dir / "deck.hc1";
  Put(path, "earlier");
  ::chmod(path.c_str(), 0444);
  ::chmod(dir.path().c_str(), 0777);
  const auto replace = [&path] {
    return FaultOf([&path] { StdFileSystem().ReplaceText(path, "new"); });
  };
  if (::geteuid() != 0) {
    EXPECT_NE(replace().find("no permission"), std::string::npos);
  } else {
    const std::string child = InChild([&] {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0)
        return std::string("cannot become an unprivileged user");
      return replace();
    });
    EXPECT_NE(child.find("no permission"), std::string::npos) << child;
  }
  EXPECT_EQ(Slurp(path), "earlier");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"deck.hc1"});
  if (::geteuid() == 0) {
    EXPECT_EQ(replace(), "no fault");
    EXPECT_EQ(Slurp(path), "new");
  }
}

// All or nothing: a failure in any file leaves every target as it was.
TEST(StdFileSystem, ReplaceAllTouchesNothingUnlessAllSucceed) {
  struct Case {
    const char* name;
    std::vector<std::string> targets;  // in the scratch folder, which holds a.txt and sub/
  };
  const Case cases[] = {
      {"missing folder last", {"a.txt", "b.txt", "missing/c.txt"}},
      {"a folder among them", {"a.txt", "sub", "b.txt"}},
      {"a file named twice", {"a.txt", "b.txt", "./a.txt"}},
  };
  for (const Mode& m : kModes) {
    for (const Case& c : cases) {
      TempDir dir;
      Put(dir / "a.txt", "earlier a");
      fs::create_directory(dir.path() / "sub");
      StdFileSystem files(m.durability);
      std::vector<FileText> texts;
      for (const std::string& target : c.targets)
        texts.push_back({dir / target, target});  // the text views the case's own string
      EXPECT_THROW(files.ReplaceAll(texts), FileFault) << m.name << ", " << c.name;
      EXPECT_EQ(Slurp(dir / "a.txt"), "earlier a") << m.name << ", " << c.name;
      EXPECT_EQ(dir.Names().size(), 2u) << m.name << ", " << c.name;
    }
    TempDir dir;
    Put(dir / "a.txt", "earlier a");
    StdFileSystem files(m.durability);
    files.ReplaceAll({{dir / "a.txt", "new a"}, {dir / "b.txt", "new b"}});
    files.SyncAll(dir / "");
    EXPECT_EQ(Slurp(dir / "a.txt") + Slurp(dir / "b.txt"), "new anew b") << m.name;
    EXPECT_EQ(dir.Names().size(), 2u) << m.name;
  }
}

// A write that finds the disk full: a real small tmpfs, mounted in a private mount namespace of a
// child process so the machine's mounts never change.
TEST(StdFileSystem, FullDiskKeepsTheEarlierFile) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  const std::string report = InChild([]() -> std::string {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
      return std::string("skip: no private mount namespace: ") + std::strerror(errno);
    TempDir dir;
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
      return std::string("skip: cannot mount a tmpfs: ") + std::strerror(errno);
    std::string problem;
    const std::string big(std::size_t{1} << 18, 'x');  // 256 KiB
    for (const Mode& m : kModes) {
      Put(dir / "a.txt", "earlier a");
      StdFileSystem files(m.durability);
      const std::string faults =
          FaultOf([&] { files.ReplaceText(dir / "a.txt", big); }) + FaultOf([&] {
            files.ReplaceAll({{dir / "a.txt", "new a"}, {dir / "b.txt", big}});
          });
      files.SyncAll(dir / "");
      if (faults.find("full") == std::string::npos || Slurp(dir / "a.txt") != "earlier a" ||
          dir.Names() != std::vector<std::string>{"a.txt"})
        problem += std::string(m.name) + ": " + faults + " ";
    }
    ::umount2(dir.path().c_str(), MNT_DETACH);
    return problem;
  });
  if (report.rfind("skip: ", 0) == 0)
    GTEST_SKIP() << report;
  EXPECT_EQ(report, "");
}

// A child process killed in the middle of its writes removes its temporaries (and, in a batch,
// the earlier files still waiting for removal) and ends with 128 + the signal.
TEST(StdFileSystem, InterruptedWritesLeaveNoTemporaries) {
  struct Case {
    const Mode& mode;
    int signal;
  };
  for (const Case& c : {Case{kModes[0], SIGTERM}, Case{kModes[1], SIGINT}}) {
    TempDir dir;
    const std::string big(16 << 20, 'x');
    const pid_t pid = ::fork();
    if (pid == 0) {
      InstallWriteSignalCleanup();
      StdFileSystem files(c.mode.durability);
      try {
        for (int i = 0;; ++i) {
          files.ReplaceText(dir / "big.txt", big);
          files.ReplaceText(dir / ("small" + std::to_string(i % 50)), "small");
        }
      } catch (const FileFault&) {
        ::_exit(1);
      }
    }
    // Wait until big.txt is there and its next version is being written.
    bool inFlight = false;
    for (int wait = 0; wait < 20000 && !inFlight; ++wait) {
      inFlight = fs::exists(dir / "big.txt") && Hidden(dir.Names());
      if (!inFlight)
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    ::kill(pid, c.signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(inFlight) << c.mode.name;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + c.signal)
        << c.mode.name << ": status " << status;
    EXPECT_FALSE(Hidden(dir.Names())) << c.mode.name;
    EXPECT_EQ(fs::file_size(dir / "big.txt"), big.size()) << c.mode.name;
  }
}

// One batch at a time per folder: a lock held by another process is a fault naming the folder;
// once it is released the folder is free, and no lock file is left in it.
TEST(StdFileSystem, FolderLockKeepsASecondBatchOut) {
  TempDir dir;
  const auto lockInChild = [&dir] {
    return InChild([&dir] { return FaultOf([&dir] { StdFileSystem().LockFolder(dir / ""); }); });
  };
  {
    const auto lock = StdFileSystem().LockFolder(dir / "");
    const std::string fault = lockInChild();
    EXPECT_NE(fault.find("Another batch is writing into " + dir / ""), std::string::npos) << fault;
  }
  EXPECT_EQ(lockInChild(), "no fault");
  EXPECT_TRUE(dir.Names().empty());
}

TEST(StdFileSystem, ReadingStopsAtTheLimit) {
  struct Case {
    std::string text;
    std::size_t limit;
    std::string read;
    bool truncated;
  };
  const Case cases[] = {
      {"", 6, "", false},
      {"abcdef", 6, "abcdef", false},
      {"abcdefg", 6, "abcdef", true},
      {"abc", 0, "", true},
      {std::string(100000, 'z'), 70000, std::string(70000, 'z'), true},
  };
  TempDir dir;
  StdFileSystem files;
  for (const Case& c : cases) {
    Put(dir / "licence.txt", c.text);
    bool truncated = !c.truncated;
    EXPECT_EQ(files.ReadText(dir / "licence.txt", c.limit, truncated), c.read) << c.limit;
    EXPECT_EQ(truncated, c.truncated) << c.text.size() << " bytes, limit " << c.limit;
  }
}

// A path holding a NUL is refused by every operation, naming it with "?" for the NUL: cut short
// at the NUL, it would lead to another file, here the file "sub", which stays as it was.
TEST(StdFileSystem, PathsHoldingANulAreRefused) {
  TempDir dir;
  std::ofstream(dir / "sub") << "earlier";
  const std::string path = dir / std::string("sub\0dir/x.hc1", 13);
  StdFileSystem files;
  bool truncated = false;
  for (const std::string& fault :
       {FaultOf([&] { files.ReadText(path); }),
        FaultOf([&] { files.ReadText(path, 10, truncated); }),
        FaultOf([&] { files.OpenRead(path); }), FaultOf([&] { files.ReplaceText(path, "new"); }),
        FaultOf([&] {
          files.ReplaceAll({{dir / "other.txt", "new"}, {path, "new"}});
        }),
        FaultOf([&] { files.Remove(path); }), FaultOf([&] { files.LockFolder(path); })}) {
    EXPECT_EQ(fault, "Cannot use " + dir / "sub?dir/x.hc1" +
                         ": a file name cannot hold a NUL character (shown as ?).");
  }
  EXPECT_EQ(test::ReadFile(dir / "sub"), "earlier");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub"});
}

// Every path or cell a message echoes: control characters (a terminal's escape sequences) and
// bytes that are not UTF-8 as "?", a long text shortened in the middle to 80 characters, never
// cutting a character.
TEST(ShownText, MakesEchoedTextSafeAndShort) {
  std::string accented = "/start/";
  for (int i = 0; i < 100; ++i)
    accented += "\xC3\xA9";  // e with an acute accent, two bytes in UTF-8
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"tables/sub/\x1B[2J\x1B]0;title\x07.csv", "tables/sub/?[2J?]0;title?.csv"},
      {"caf\xC3\xA9 \xE9\xFF\x7F\t", "caf\xC3\xA9 ????"},
      // C1 controls (CSI, OSC) and the bidi controls that reorder a line on screen.
      {"a\xC2\x9B"
       "2J\xC2\x9D"
       "b\xC2\xA0",
       "a?2J?b\xC2\xA0"},
      {"\xE2\x80\xAEgpj."
       "exe\xE2\x80\x8E\xE2\x80\x8F\xE2\x81\xA6\xE2\x81\xA9\xE2\x80\xAA\xE2\x80\x94",
       "?gpj.exe?????\xE2\x80\x94"},
      {std::string(200, 'a') + "/end.hc1",
       std::string(38, 'a') + "..." + std::string(31, 'a') + "/end.hc1"},
      {accented + "/x.hc1", accented.substr(0, 7 + 31 * 2) + "..." +
                                std::string(accented.end() - std::ptrdiff_t{66}, accented.end()) +
                                "/x.hc1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShownText(c.text), c.shown) << c.text;
  EXPECT_EQ(ShownText(std::string(81, 'x'), 80).size(), 80u);
  EXPECT_EQ(Quoted("a\nb"), "\"a?b\"");
}

}  // namespace
}  // namespace rh
