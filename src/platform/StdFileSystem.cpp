#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/FileMessages.h"
#include "platform/FileSystem.h"

namespace rh {

namespace files {

std::string Reason(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
      return messages::kNoPermissionReason;
    case EROFS:
      return messages::kReadOnlyDiskReason;
    case ENOSPC:
      return messages::kDiskFullReason;
    case EDQUOT:
      return messages::kQuotaReason;
    case EIO:
      return messages::kDiskErrorReason;
    case ENAMETOOLONG:
      return messages::kNameTooLongReason;
    case ENOTDIR:
      return messages::kNotAFolderReason;
    case ELOOP:
      return messages::kLinkLoopReason;
    case EISDIR:
      return messages::kIsFolderReason;
    case EMFILE:
    case ENFILE:
      return messages::kTooManyOpenReason;
    default:
      return std::strerror(err);
  }
}

void CheckRegular(const char* verb, const std::string& path, const struct stat& info) {
  if (S_ISDIR(info.st_mode))
    throw Fault(verb, path, messages::kIsFolderReason);
  if (!S_ISREG(info.st_mode))
    throw Fault(verb, path, messages::kIsSpecialReason);
}

}  // namespace files

using files::Fault;
using files::Reason;

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string ReadReason(int err) {
  if (err == ENOENT)
    return messages::kNoSuchFileReason;
  if (err == EACCES || err == EPERM)
    return messages::kNoReadPermissionReason;
  return Reason(err);
}

// Closing the folder releases the lock.
class FlockFolderLock final : public FolderLock {
 public:
  explicit FlockFolderLock(int fd) : fd_(fd) {}

 private:
  Descriptor fd_;
};

// Opens a regular file for reading. A folder, FIFO or device is refused before it is opened:
// opening a FIFO waits for a writer, and opening some devices has effects of its own.
int OpenRegular(const std::string& path, struct stat& info) {
  files::CheckPathGiven(path);
  if (::stat(path.c_str(), &info) != 0)
    throw Fault("open", path, ReadReason(errno));
  files::CheckRegular("read", path, info);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0)
    throw Fault("open", path, ReadReason(errno));
  if (::fstat(fd, &info) != 0) {
    const int err = errno;
    ::close(fd);
    throw Fault("read", path, Reason(err));
  }
  try {
    files::CheckRegular("read", path, info);  // in case something else took the name meanwhile
  } catch (...) {
    ::close(fd);
    throw;
  }
  return fd;
}

class DescriptorReader final : public ByteReader {
 public:
  DescriptorReader(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_.get(), buffer, size);
      if (n >= 0)
        return static_cast<std::size_t>(n);
      if (errno != EINTR)
        throw Fault("read", path_, Reason(errno));
    }
  }

 private:
  Descriptor fd_;
  std::string path_;
};

}  // namespace

std::unique_ptr<ByteReader> StdFileSystem::OpenRead(const std::string& path) {
  struct stat info {};
  return std::make_unique<DescriptorReader>(OpenRegular(path, info), path);
}

std::string StdFileSystem::ReadText(const std::string& path) {
  bool truncated = false;
  return ReadText(path, std::string::npos, truncated);
}

std::string StdFileSystem::ReadText(const std::string& path, std::size_t limit, bool& truncated) {
  truncated = false;
  struct stat info {};
  const Descriptor fd(OpenRegular(path, info));

  // Read up to the expected size plus one byte, so a file read whole needs no second read that
  // finds the end; a file that grows meanwhile is read on in 64 KiB steps.
  const auto expected = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
  std::string text;
  for (;;) {
    const std::size_t have = text.size();
    if (have == limit) {
      char extra = 0;
      ssize_t n = 0;
      do {
        n = ::read(fd.get(), &extra, 1);
      } while (n < 0 && errno == EINTR);
      if (n < 0)
        throw Fault("read", path, Reason(errno));
      truncated = n > 0;
      break;
    }
    const std::size_t want = std::min(limit - have, have <= expected ? expected + 1 - have : 65536);
    text.resize(have + want);
    const ssize_t n = ::read(fd.get(), text.data() + have, want);
    if (n < 0) {
      text.resize(have);
      if (errno == EINTR)
        continue;
      throw Fault("read", path, Reason(errno));
    }
    text.resize(have + static_cast<std::size_t>(n));
    if (n == 0)
      break;
  }
  return text;
}

void StdFileSystem::Remove(const std::string& path) {
  files::CheckPathGiven(path);
  if (path.back() == '/')
    throw Fault("remove", path, messages::kIsFolderReason);
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT)
      return;
    throw Fault("remove", path, Reason(errno));
  }
  if (S_ISLNK(info.st_mode)) {
    // The link goes; what it points to stays. A link to a folder or device is refused like the
    // thing itself, so a stale name is never mistaken for a file.
    struct stat to {};
    if (::stat(path.c_str(), &to) == 0)
      files::CheckRegular("remove", path, to);
  } else {
    files::CheckRegular("remove", path, info);
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
      throw Fault("remove", path,
                  errno == EACCES ? messages::kNoChangePermissionReason : Reason(errno));
  }
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    throw Fault("remove", path,
                errno == EACCES ? "no permission to change its folder" : Reason(errno));
  }
}

std::unique_ptr<FolderLock> StdFileSystem::LockFolder(const std::string& folder) {
  const std::string dir = folder.empty() ? "." : folder;
  files::CheckPathGiven(dir);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    throw Fault("use the folder", dir,
                errno == ENOENT ? messages::kFolderMissingReason : Reason(errno));
  auto lock = std::make_unique<FlockFolderLock>(fd);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err == EWOULDBLOCK) {
      throw FileFault(messages::kBatchLockedText + ShownText(dir) + messages::kBatchLockedAdvice);
    }
    // A file system without locks (some network disks) runs the batch unlocked.
    if (err != ENOLCK && err != EOPNOTSUPP && err != EINVAL && err != EBADF)
      throw Fault("lock", dir, Reason(err));
  }
  return lock;
}

}  // namespace rh
