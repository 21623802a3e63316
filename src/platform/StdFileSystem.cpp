#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Faults.h"
#include "platform/FileSystem.h"

namespace rh {

namespace {

std::string Reason(int err) {
  return std::strerror(err);
}

// Closes a descriptor and removes the temporary file unless the write was committed.
class TempFile {
 public:
  explicit TempFile(std::string pattern) : path_(std::move(pattern)) {
    fd_ = ::mkstemp(path_.data());
    if (fd_ < 0)
      path_.clear();
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd_ >= 0)
      ::close(fd_);
    if (!path_.empty())
      ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void Release() { path_.clear(); }

 private:
  std::string path_;
  int fd_ = -1;
};

// Exchanges the complete temporary file with an existing target in one step. A plain rename over
// an existing file makes ext4 write the new file's data out at once (its guard for programs that
// never flush), which costs milliseconds a file on a busy disk; exchanging does not, and is just
// as atomic for readers. False when there is no target or the file system cannot exchange; the
// caller then renames.
bool SwapIn(const std::string& temp, const std::string& target) {
#ifdef RENAME_EXCHANGE
  return ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
#else
  (void)temp;
  (void)target;
  return false;
#endif
}

}  // namespace

std::string StdFileSystem::ReadText(const std::string& path) {
  if (path.empty())
    throw FileFault("No file name was given.");
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw FileFault("Cannot open " + path + ": " + Reason(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad())
    throw FileFault("Cannot read " + path + ".");
  return text.str();
}

void StdFileSystem::ReplaceText(const std::string& path, std::string_view text) {
  if (path.empty())
    throw FileFault("No file name was given.");
  if (path.back() == '/')
    throw FileFault("Cannot write " + path + ": it names a folder.");
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);

  TempFile temp(folder + "." + name + ".XXXXXX");
  if (temp.fd() < 0)
    throw FileFault("Cannot write " + path + ": " + Reason(errno));

  // Keep the permissions an existing file had; a new file gets the usual ones.
  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  ::fchmod(temp.fd(), mode);

  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(temp.fd(), data, left);
    if (written < 0) {
      if (errno == EINTR)
        continue;
      throw FileFault("Cannot write " + path + ": " + Reason(errno));
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  if ((durability_ == Durability::Synced && ::fsync(temp.fd()) != 0) || temp.Close() != 0) {
    throw FileFault("Cannot write " + path + ": " + Reason(errno));
  }
  if (durability_ == Durability::Deferred && SwapIn(temp.path(), path))
    return;  // the earlier file now has the temporary name, and TempFile removes it
  if (::rename(temp.path().c_str(), path.c_str()) != 0) {
    throw FileFault("Cannot write " + path + ": " + Reason(errno));
  }
  temp.Release();
}

void StdFileSystem::SyncAll(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    throw FileFault("Cannot open " + folder + ": " + Reason(errno));
  const int rc = ::syncfs(fd);
  const int err = errno;
  ::close(fd);
  if (rc != 0)
    throw FileFault("Cannot flush " + folder + ": " + Reason(err));
}

}  // namespace rh
