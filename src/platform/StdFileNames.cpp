// What a file name refers to, and folders made on request: the FileSystem members that work on
// names rather than on a file's bytes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/FileMessages.h"
#include "platform/FileSystem.h"

namespace rh {

namespace fs = std::filesystem;

namespace {

// Links followed in one name before it counts as a loop.
constexpr int kMostLinks = 40;

// `path` made absolute, with its folder resolved as far as it exists and a last part that is a
// link followed, again and again, even when the link leads to a file not yet made.
fs::path Resolved(const std::string& path) {
  std::error_code error;
  fs::path at = fs::absolute(fs::path(path), error).lexically_normal();
  if (error)
    return fs::path(path).lexically_normal();
  for (int links = 0; links < kMostLinks; ++links) {
    const fs::path folder = fs::weakly_canonical(at.parent_path(), error);
    if (!error && at.has_filename())
      at = folder / at.filename();
    if (!fs::is_symlink(at, error))
      break;
    const fs::path target = fs::read_symlink(at, error);
    if (error)
      break;
    at = (target.is_absolute() ? target : at.parent_path() / target).lexically_normal();
  }
  return at;
}

}  // namespace

std::string StdFileSystem::FileIdentity(const std::string& path) {
  files::CheckPathGiven(path);
  const fs::path resolved = Resolved(path);
  // Two names of one existing file (hard links too) are the same device and inode.
  struct stat info {};
  if (::stat(resolved.c_str(), &info) == 0)
    return "file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return "path " + resolved.string();
}

std::vector<FolderEntry> StdFileSystem::ListFolder(const std::string& folder) {
  const std::string dir = folder.empty() ? "." : folder;
  files::CheckPathGiven(dir);
  DIR* stream = ::opendir(dir.c_str());
  if (stream == nullptr)
    throw files::Fault("read the folder", dir, files::Reason(errno));
  std::vector<FolderEntry> entries;
  const int fd = ::dirfd(stream);
  while (const dirent* found = ::readdir(stream)) {
    const std::string_view name = found->d_name;
    if (name == "." || name == "..")
      continue;
    FolderEntry entry;
    entry.name = name;
    // Each name is looked at itself, not through a link: the same device and inode text as
    // FileIdentity gives a regular file.
    struct stat info {};
    if (::fstatat(fd, found->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      entry.link = S_ISLNK(info.st_mode);
      if (S_ISREG(info.st_mode))
        entry.identity = "file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    }
    entries.push_back(std::move(entry));
  }
  ::closedir(stream);
  NoteListed(dir, entries);
  return entries;
}

void StdFileSystem::MakeFolder(const std::string& path) {
  files::CheckPathGiven(path);
  std::error_code error;
  fs::create_directories(path, error);
  if (error)
    throw files::Fault("create the folder", path, files::Reason(error.value()));
  if (!fs::is_directory(path, error))
    throw files::Fault("create the folder", path, messages::kNameTakenReason);
}

}  // namespace rh
