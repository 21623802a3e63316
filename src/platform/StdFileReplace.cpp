// Replacing files whole: the text goes to a temporary file beside the target, which takes the
// target's name only once it is complete.
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/FileMessages.h"
#include "platform/FileSystem.h"
#include "platform/ReplaceSteps.h"
#include "platform/WriteCleanup.h"

namespace rh {

using files::Fault;
using files::Reason;

namespace files {

constexpr int kMaxLinks = 40;              // as the kernel follows at most
constexpr std::size_t kMaxNameKept = 240;  // of the target's name in the temporary's name
constexpr std::size_t kMaxSpares = 64;     // earlier files kept to be written over

// Where a replaced file goes.
struct Target {
  std::string path;  // as given, for messages
  std::string file;  // the file itself: `path` with symbolic links at its end followed
  bool exists = false;
  mode_t mode = 0;  // the earlier file's permission bits
  dev_t device = 0;
  ino_t inode = 0;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string LinkTarget(const std::string& link, const std::string& path) {
  std::string target(kMaxTemporaryPath, '\0');
  const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
  if (n < 0)
    throw Fault("write", path, Reason(errno));
  if (static_cast<std::size_t>(n) == target.size())
    throw Fault("write", path, Reason(ENAMETOOLONG));
  target.resize(static_cast<std::size_t>(n));
  return !target.empty() && target.front() == '/' ? target : FolderOf(link) + target;
}

// Decides what is at `path` before anything is written: a regular file the user may write, or a
// free name. A symbolic link is followed, so the file it leads to is replaced and the link kept;
// a folder, device, FIFO or socket (also at the end of a link) is refused.
Target Inspect(const std::string& path) {
  files::CheckPathGiven(path);
  Target target{path, path};
  for (int links = 0;;) {
    if (target.file.back() == '/')
      throw Fault("write", path, messages::kIsFolderReason);
    struct stat info {};
    if (::lstat(target.file.c_str(), &info) != 0) {
      if (errno == ENOENT)
        return target;  // a new file; a missing folder shows when the temporary is made
      throw Fault("write", path, Reason(errno));
    }
    if (S_ISLNK(info.st_mode)) {
      if (++links > kMaxLinks)
        throw Fault("write", path, Reason(ELOOP));
      target.file = LinkTarget(target.file, path);
      continue;
    }
    files::CheckRegular("write", path, info);
    // As a plain open for writing would decide: the superuser may, others need write permission.
    if (::faccessat(AT_FDCWD, target.file.c_str(), W_OK, AT_EACCESS) != 0) {
      throw Fault(
          "write", path,
          errno == EACCES || errno == EPERM ? messages::kNoChangePermissionReason : Reason(errno));
    }
    target.exists = true;
    target.mode = info.st_mode & 07777;
    target.device = info.st_dev;
    target.inode = info.st_ino;
    return target;
  }
}

bool SameFile(const Target& a, const Target& b) {
  return a.file == b.file || (a.exists && b.exists && a.device == b.device && a.inode == b.inode);
}

// Six letters or digits, different in every call. Two processes forked from one start alike;
// `clash` (the last name was taken) sets them apart by their process numbers.
std::string RandomSuffix(bool clash) {
  static thread_local std::uint64_t state =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      reinterpret_cast<std::uintptr_t>(&state);
  if (clash)
    state ^= static_cast<std::uint64_t>(::getpid()) << 40;
  std::uint64_t z = state += 0x9E3779B97F4A7C15ULL;  // splitmix64
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix(6, ' ');
  for (char& c : suffix) {
    c = kChars[z % 62];
    z /= 62;
  }
  return suffix;
}

std::string CreateReason(int err) {
  if (err == ENOENT)
    return messages::kNoSuchFolderReason;
  if (err == EACCES || err == EPERM)
    return messages::kNoFolderPermissionReason;
  return Reason(err);
}

// An earlier file swapped out of its name by an exchange, kept to be written over as the next
// temporary in its folder instead of being removed and a new file made.
struct Spare {
  int slot = -1;
  std::string path;
};

// The temporary file `.NAME.XXXXXX` beside a target, registered for removal on SIGINT and
// SIGTERM before it is created. It is removed when it goes out of scope, unless it was put in
// place or handed over; after an exchange its name holds the earlier file, which goes then.
class Temporary {
 public:
  // Writes over `spare` (when it is still a plain file of ours) instead of making a new file.
  Temporary(const Target& target, Spare spare, mode_t newMode) : shown_(target.path) {
    const int fd = ::open(spare.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1) {
      fd_ = fd;
      path_ = std::move(spare.path);
      slot_ = spare.slot;
      overwrite_ = true;
      const mode_t mode = target.exists ? target.mode : newMode;
      if ((info.st_mode & 07777) != mode)
        ::fchmod(fd_, mode);
      return;
    }
    if (fd >= 0)
      ::close(fd);
    ::unlink(spare.path.c_str());
    ForgetTemporary(spare.slot);
    Create(target);
  }

  explicit Temporary(const Target& target) : shown_(target.path) { Create(target); }

 private:
  void Create(const Target& target) {
    const std::string folder = FolderOf(target.file);
    const std::string name = target.file.substr(folder.size(), kMaxNameKept);
    // A new file gets what a plain open gives it (0666 less the umask); a replacement keeps the
    // earlier file's bits.
    const mode_t mode = target.exists ? (target.mode & 0777) : 0666;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = folder;
      path_.append(".").append(name).append(".").append(RandomSuffix(attempt > 0));
      if (!BeginCreatingTemporary())
        throw Fault("write", shown_, messages::kProgramEndingReason);
      slot_ = RegisterTemporary(path_.c_str());
      if (slot_ < 0) {
        EndCreatingTemporary();
        throw Fault("write", shown_, messages::kTooManyWritesReason);
      }
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
      const int err = errno;
      EndCreatingTemporary();
      if (fd_ < 0) {
        ForgetTemporary(slot_);
        slot_ = -1;
        path_.clear();
        if (err != EEXIST)
          throw Fault("write", shown_, CreateReason(err));
      }
    }
    if (fd_ < 0)
      throw Fault("write", shown_, messages::kNoTemporaryNameReason);
    struct stat info {};
    if (target.exists && ::fstat(fd_, &info) == 0 && (info.st_mode & 07777) != target.mode)
      ::fchmod(fd_, target.mode);  // the umask took bits off, or set-id bits
  }

 public:
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    if (fd_ >= 0)
      ::close(fd_);
    if (!path_.empty())
      ::unlink(path_.c_str());
    ForgetTemporary(slot_);
  }

  const std::string& path() const { return path_; }

  // Writes all of `text`, flushes it to the disk when asked, and closes the file; every step is
  // checked.
  void Write(std::string_view text, bool sync) {
    Append(text);
    Finish(sync);
  }

  // Writes all of `text` at the end of what is written so far.
  void Append(std::string_view text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
      const ssize_t n = ::write(fd_, data, left);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        throw Fault("write", shown_, Reason(n < 0 ? errno : ENOSPC));
      data += n;
      left -= static_cast<std::size_t>(n);
      size_ += static_cast<std::size_t>(n);
    }
  }

  // Flushes the text to the disk when asked and closes the file.
  void Finish(bool sync) {
    // A spare written over keeps none of its earlier text beyond the new one.
    if (overwrite_ && ::ftruncate(fd_, static_cast<off_t>(size_)) != 0)
      throw Fault("write", shown_, Reason(errno));
    if (sync && ::fdatasync(fd_) != 0)
      throw Fault("write", shown_, Reason(errno));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
      throw Fault("write", shown_, Reason(errno));
  }

  // The file now has the target's name: nothing is left to remove.
  void Placed() {
    path_.clear();
    ForgetTemporary(slot_);
    slot_ = -1;
  }

  // Hands over the name (an earlier file swapped out) and its slot to whoever removes it.
  int HandOver(std::string& path) {
    path = std::move(path_);
    path_.clear();
    const int slot = slot_;
    slot_ = -1;
    return slot;
  }

 private:
  std::string shown_;
  std::string path_;
  int slot_ = -1;
  int fd_ = -1;
  bool overwrite_ = false;  // written over a spare
  std::size_t size_ = 0;    // bytes written
};

enum class Placement {
  New,          // the name was free
  Exchanged,    // the earlier file now has the temporary's name
  RenamedOver,  // the earlier file is gone
};

int Rename2(const std::string& from, const std::string& to, unsigned flags) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
}

// The file system cannot exchange names or refuse to replace (some network disks).
bool NoRenameFlags(int err) {
  return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

// Puts the complete temporary at the target's name. A free name is taken only while it is still
// free; an earlier file is exchanged with the temporary (`exchange`) or renamed over. Never
// replaces anything but a regular file: whatever took the name since Inspect is put back.
Placement Place(Target& target, Temporary& temp, bool exchange) {
  if (!target.exists) {
    if (Rename2(temp.path(), target.file, RENAME_NOREPLACE) == 0)
      return Placement::New;
    if (NoRenameFlags(errno) && ::rename(temp.path().c_str(), target.file.c_str()) == 0)
      return Placement::New;
    if (errno != EEXIST)
      throw Fault("write", target.path, Reason(errno));
    target = Inspect(target.path);  // something took the name meanwhile: a file to replace?
    // The temporary was made for a new file: it takes the earlier file's permission bits.
    if (target.exists && ::chmod(temp.path().c_str(), target.mode) != 0)
      throw Fault("write", target.path, Reason(errno));
  }
  if (exchange) {
    if (Rename2(temp.path(), target.file, RENAME_EXCHANGE) == 0) {
      struct stat info {};
      if (::lstat(temp.path().c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        Rename2(temp.path(), target.file, RENAME_EXCHANGE);
        files::CheckRegular("write", target.path, info);
      }
      return Placement::Exchanged;
    }
    if (!NoRenameFlags(errno) && errno != ENOENT)
      throw Fault("write", target.path, Reason(errno));
  }
  if (::rename(temp.path().c_str(), target.file.c_str()) != 0)
    throw Fault("write", target.path, Reason(errno));
  return Placement::RenamedOver;
}

// Takes a placed file back to its temporary name (a ReplaceAll that failed part way). A file
// renamed over another cannot be taken back.
void Unplace(const Target& target, const Temporary& temp, Placement placement) {
  if (placement == Placement::New)
    ::rename(target.file.c_str(), temp.path().c_str());
  else if (placement == Placement::Exchanged)
    Rename2(temp.path(), target.file, RENAME_EXCHANGE);
}

// Holds SIGINT and SIGTERM back on this thread while it lives; a signal that came meanwhile is
// handled when it ends.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &set, &before_);
  }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
  ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

 private:
  sigset_t before_{};
};

}  // namespace files

using files::Inspect;
using files::kMaxSpares;
using files::Place;
using files::Placement;
using files::SameFile;
using files::SignalsHeld;
using files::Spare;
using files::Target;
using files::Temporary;
using files::Unplace;

// The earlier files a Deferred write swapped out of their names, kept to be written over as the
// next temporaries in their folders: a batch that replaces its earlier files then neither removes
// one nor makes a new one, which on many disks costs more than the writing (on a disk mounted with
// discard each removal waits for the device). Each stays registered for the signal handlers until
// it is written over or removed; beyond kMaxSpares, and at the end, they are removed.
class StdFileSystem::Spares {
 public:
  Spares() = default;
  Spares(const Spares&) = delete;
  Spares& operator=(const Spares&) = delete;
  ~Spares() { RemoveAll(); }

  void Add(int slot, std::string path) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (spares_.size() < kMaxSpares) {
        spares_.push_back({slot, std::move(path)});
        return;
      }
    }
    Remove({slot, std::move(path)});
  }

  // A spare in `folder` (a path's folder part, "" for the current one), if there is one.
  bool Take(const std::string& folder, Spare& spare) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = spares_.rbegin(); it != spares_.rend(); ++it) {
      if (files::FolderOf(it->path) == folder) {
        spare = std::move(*it);
        spares_.erase(std::next(it).base());
        return true;
      }
    }
    return false;
  }

  void RemoveAll() {
    std::vector<Spare> spares;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      spares.swap(spares_);
    }
    for (const Spare& spare : spares)
      Remove(spare);
  }

 private:
  static void Remove(const Spare& spare) {
    ::unlink(spare.path.c_str());
    ForgetTemporary(spare.slot);
  }

  std::mutex mutex_;
  std::vector<Spare> spares_;
};

// The names a Deferred batch found in its folder when it listed it, before its first write. A name
// there that was not among them is taken as free without a look of its own (the lstat, a fifth
// system call a file): the temporary is made beside it, and the rename that puts it in place
// refuses to replace anything that took the name since; only then is the name looked at, as
// Place does for any name taken meanwhile. A listed name is looked at as usual.
class StdFileSystem::FreeNames {
 public:
  void Listed(const std::string& folder, const std::vector<FolderEntry>& entries) {
    std::unordered_set<std::string> names;
    names.reserve(entries.size());
    for (const FolderEntry& entry : entries)
      names.insert(entry.name);
    const std::lock_guard<std::mutex> lock(mutex_);
    folder_ = folder.back() == '/' ? folder : folder + "/";
    names_ = std::move(names);
    listed_ = true;
  }

  // True when `path` is a name in the folder last listed that was not there then.
  bool Free(const std::string& path) {
    const std::string folder = files::FolderOf(path);
    const std::lock_guard<std::mutex> lock(mutex_);
    return listed_ && folder == folder_ && folder.size() < path.size() &&
           names_.count(path.substr(folder.size())) == 0;
  }

 private:
  std::mutex mutex_;
  bool listed_ = false;
  std::string folder_;  // with its closing '/'
  std::unordered_set<std::string> names_;
};

void StdFileSystem::NoteListed(const std::string& folder, const std::vector<FolderEntry>& entries) {
  if (free_)
    free_->Listed(folder, entries);
}

Target StdFileSystem::LookAt(const std::string& path) {
  if (free_ && free_->Free(path)) {
    files::CheckPathGiven(path);
    return Target{path, path};
  }
  return Inspect(path);
}

namespace {

// What a plain open gives a new file: 0666 less the process's umask (read once, as it is set).
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

StdFileSystem::StdFileSystem(Durability durability)
    : durability_(durability),
      spares_(durability == Durability::Deferred ? std::make_unique<Spares>() : nullptr),
      free_(durability == Durability::Deferred ? std::make_unique<FreeNames>() : nullptr),
      newFileMode_(NewFileMode()) {}

// A batch writes over an earlier file it swapped out of its name, when one waits in the folder:
// no new file is made and no old one removed, which on many disks costs more than the writing.
std::unique_ptr<Temporary> StdFileSystem::NewTemporary(const Target& target) {
  Spare spare;
  if (spares_ && spares_->Take(files::FolderOf(target.file), spare))
    return std::make_unique<Temporary>(target, std::move(spare), newFileMode_);
  return std::make_unique<Temporary>(target);
}

StdFileSystem::~StdFileSystem() = default;

// Puts one complete temporary in place. A batch exchanges so that ext4 does not write each file
// out as it replaces another; a synced file is on the disk already, and a rename over leaves no
// earlier file to remove afterwards.
void StdFileSystem::PutInPlace(files::Target& target, files::Temporary& temp) {
  Settle(temp, Place(target, temp, spares_ != nullptr));
}

// After a temporary took its target's name: the earlier file it swapped out is kept as a spare,
// or, without spares, removed as the temporary goes.
void StdFileSystem::Settle(files::Temporary& temp, files::Placement placement) {
  if (placement != Placement::Exchanged) {
    temp.Placed();
  } else if (spares_) {
    std::string earlier;
    const int slot = temp.HandOver(earlier);
    spares_->Add(slot, std::move(earlier));
  }
}

using Steps = files::ReplaceSteps<StdFileSystem, Target, Temporary, Inspect, SameFile>;

void StdFileSystem::ReplaceText(const std::string& path, std::string_view text) {
  Steps::ReplaceTextAt(*this, LookAt(path), text);
}

std::unique_ptr<FileWriter> StdFileSystem::BeginReplace(const std::string& path) {
  return std::make_unique<Steps::Writer>(*this, LookAt(path));
}

void StdFileSystem::ReplaceAll(const std::vector<FileText>& files) {
  if (files.size() == 1) {
    ReplaceText(files[0].path, files[0].text);  // nothing to keep together
    return;
  }
  std::vector<Target> targets = Steps::InspectAll(files);
  std::vector<std::unique_ptr<Temporary>> temps;
  temps.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    temps.push_back(NewTemporary(targets[i]));
    temps.back()->Write(files[i].text, durability_ == Durability::Synced);
  }

  // Every file is complete: exchange them in together, and take them back out should one fail,
  // with SIGINT and SIGTERM held until all are in.
  const SignalsHeld held;
  std::vector<Placement> placements;
  placements.reserve(files.size());
  try {
    for (std::size_t i = 0; i < files.size(); ++i)
      placements.push_back(Place(targets[i], *temps[i], true));
  } catch (const FileFault&) {
    for (std::size_t i = placements.size(); i-- > 0;)
      Unplace(targets[i], *temps[i], placements[i]);
    throw;
  }
  for (std::size_t i = 0; i < files.size(); ++i)
    Settle(*temps[i], placements[i]);
}

void StdFileSystem::SyncAll(const std::string& folder) {
  if (spares_)
    spares_->RemoveAll();
  const std::string dir = folder.empty() ? "." : folder;
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    throw Fault("open", dir, Reason(errno));
  const int rc = ::syncfs(fd);
  const int err = errno;
  ::close(fd);
  if (rc != 0)
    throw Fault("flush", dir, Reason(err));
}

}  // namespace rh
