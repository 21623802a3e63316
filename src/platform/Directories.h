// Drives, directories and file names as the file selection lists see them. On this host a "drive"
// is a file-system root: "/" and every mounted file system that holds files (pseudo file systems
// such as /proc are left out). Paths are absolute, use the host separator and carry no trailing
// separator except the root itself.
#pragma once

#include <string>
#include <vector>

namespace rh {

inline constexpr char kPathSeparator = '/';

class Directories {
 public:
  virtual ~Directories() = default;

  // The drives, sorted; never empty.
  virtual std::vector<std::string> Drives() = 0;

  // The process's current directory (where the lists start before anything is chosen).
  virtual std::string CurrentDirectory() = 0;

  // Names of the subdirectories of `path`, sorted (case-insensitively, hidden ones left out).
  // Throws DriveFault when `path` is missing, not a directory or cannot be read.
  virtual std::vector<std::string> Subdirectories(const std::string& path) = 0;

  // Names of the files of `path` that match the wildcard `pattern`, sorted like Subdirectories.
  // Throws DriveFault when `path` cannot be read.
  virtual std::vector<std::string> Files(const std::string& path, const std::string& pattern) = 0;
};

// The host's file system through std::filesystem and /proc/self/mounts.
class StdDirectories final : public Directories {
 public:
  std::vector<std::string> Drives() override;
  std::string CurrentDirectory() override;
  std::vector<std::string> Subdirectories(const std::string& path) override;
  std::vector<std::string> Files(const std::string& path, const std::string& pattern) override;
};

// True when the file `name` matches `pattern`: "*" stands for any run of characters, "?" for
// one; letters match regardless of case; several patterns may be given separated by ";". "*.*"
// and an empty pattern match every name, with or without a dot.
bool MatchesPattern(const std::string& name, const std::string& pattern);

// Name order of the lists: case-insensitive, ties broken by the bytes so the order is total.
bool ListOrder(const std::string& a, const std::string& b);

// `path` made absolute against `base` and lexically cleaned: "." and ".." resolved, repeated and
// trailing separators dropped ("/" stays "/").
std::string NormalizePath(const std::string& path, const std::string& base);

// The directories from the root down to `path` itself: "/a/b" gives "/", "/a", "/a/b".
std::vector<std::string> Ancestors(const std::string& path);

// The drive that holds `path`: the longest drive that is `path` or one of its ancestors.
std::string DriveOf(const std::string& path, const std::vector<std::string>& drives);

// `directory` + separator + `name`, always adding the separator: at the root directory this gives
// a doubled separator ("/" and "RUN.HC1" give "//RUN.HC1").
std::string JoinPath(const std::string& directory, const std::string& name);

// The mount points listed in a /proc/self/mounts text that hold real files, with "/" always
// present, sorted and without repeats. Exposed for tests.
std::vector<std::string> DrivesFromMounts(const std::string& mountsText);

}  // namespace rh
