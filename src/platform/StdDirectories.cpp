#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/Directories.h"

namespace fs = std::filesystem;

namespace rh {

namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Matches one pattern (no ";") against the whole name, backtracking on the last "*" only, which
// keeps the match linear for the patterns people type.
bool MatchOne(const std::string& name, const std::string& pattern) {
  if (pattern.empty() || pattern == "*.*")
    return true;
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool Hidden(const std::string& name) {
  return !name.empty() && name[0] == '.';
}

[[noreturn]] void ThrowUnreadable(const std::string& path, const std::error_code& ec) {
  throw DriveFault("Cannot read " + ShownText(path) + ": " + ec.message() + ".");
}

// Undoes the octal escapes (\040 for a space and so on) of a mounts file field.
std::string Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        std::isdigit(static_cast<unsigned char>(field[i + 1])) &&
        std::isdigit(static_cast<unsigned char>(field[i + 2])) &&
        std::isdigit(static_cast<unsigned char>(field[i + 3]))) {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                               (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

// File systems that hold no user files.
bool PseudoFileSystem(const std::string& type) {
  static const std::set<std::string> kPseudo = {
      "autofs",  "binfmt_misc", "bpf",      "cgroup",          "cgroup2",    "configfs", "debugfs",
      "devpts",  "devtmpfs",    "efivarfs", "fusectl",         "hugetlbfs",  "mqueue",   "nsfs",
      "proc",    "pstore",      "ramfs",    "rpc_pipefs",      "securityfs", "sysfs",    "tmpfs",
      "tracefs", "squashfs",    "nfsd",     "fuse.gvfsd-fuse", "fuse.portal"};
  return kPseudo.count(type) != 0;
}

bool UnderSystemFolder(const std::string& mountPoint) {
  for (const char* top : {"/proc", "/sys", "/dev", "/run"}) {
    const std::string t(top);
    if (mountPoint == t || mountPoint.rfind(t + "/", 0) == 0)
      return true;
  }
  return false;
}

// The names of the entries of `path` that `keep` accepts, in list order. An unreadable folder
// raises DriveFault.
template <typename Keep>
std::vector<std::string> SortedEntries(const std::string& path, Keep keep) {
  std::error_code ec;
  fs::directory_iterator it(path, ec);
  if (ec)
    ThrowUnreadable(path, ec);
  std::vector<std::string> out;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (keep(name, *it))
      out.push_back(std::move(name));
  }
  if (ec)
    ThrowUnreadable(path, ec);
  std::sort(out.begin(), out.end(), ListOrder);
  return out;
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = pattern.find(';', start);
    const std::string one =
        pattern.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (MatchOne(name, one))
      return true;
    if (end == std::string::npos)
      return false;
    start = end + 1;
  }
}

bool ListOrder(const std::string& a, const std::string& b) {
  const auto byLetter = [](char x, char y) { return Lower(x) < Lower(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byLetter))
    return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byLetter))
    return false;
  return a < b;
}

std::string NormalizePath(const std::string& path, const std::string& base) {
  fs::path p(path);
  if (p.is_relative())
    p = fs::path(base) / p;
  std::string out = p.lexically_normal().generic_string();
  while (out.size() > 1 && out.back() == kPathSeparator)
    out.pop_back();
  return out.empty() ? std::string(1, kPathSeparator) : out;
}

std::vector<std::string> Ancestors(const std::string& path) {
  std::vector<std::string> out{std::string(1, kPathSeparator)};
  for (std::size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == kPathSeparator) {
      if (i > 1 && path[i - 1] != kPathSeparator)
        out.push_back(path.substr(0, i));
    }
  }
  return out;
}

std::string DriveOf(const std::string& path, const std::vector<std::string>& drives) {
  std::string best(1, kPathSeparator);
  for (const auto& d : drives) {
    const bool holds = path == d || d == std::string(1, kPathSeparator) ||
                       (path.size() > d.size() && path.compare(0, d.size(), d) == 0 &&
                        path[d.size()] == kPathSeparator);
    if (holds && d.size() > best.size())
      best = d;
  }
  return best;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  return directory + kPathSeparator + name;
}

std::vector<std::string> DrivesFromMounts(const std::string& mountsText) {
  std::set<std::string> points{std::string(1, kPathSeparator)};
  std::istringstream lines(mountsText);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, point, type;
    if (!(fields >> device >> point >> type))
      continue;
    point = Unescape(point);
    if (point.empty() || point[0] != kPathSeparator || PseudoFileSystem(type) ||
        UnderSystemFolder(point))
      continue;
    points.insert(NormalizePath(point, "/"));
  }
  std::vector<std::string> out(points.begin(), points.end());
  std::sort(out.begin(), out.end(), ListOrder);
  return out;
}

std::vector<std::string> StdDirectories::Drives() {
  std::ifstream in("/proc/self/mounts");
  std::ostringstream text;
  if (in)
    text << in.rdbuf();
  std::vector<std::string> out;
  for (const auto& d : DrivesFromMounts(text.str())) {
    std::error_code ec;
    if (fs::is_directory(d, ec))
      out.push_back(d);
  }
  if (out.empty())
    out.emplace_back(1, kPathSeparator);
  return out;
}

std::string StdDirectories::CurrentDirectory() {
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  if (ec)
    return std::string(1, kPathSeparator);
  return NormalizePath(cwd.generic_string(), "/");
}

std::vector<std::string> StdDirectories::Subdirectories(const std::string& path) {
  return SortedEntries(path, [](const std::string& name, const fs::directory_entry& entry) {
    std::error_code typeEc;
    return !Hidden(name) && entry.is_directory(typeEc);
  });
}

std::vector<std::string> StdDirectories::Files(const std::string& path,
                                               const std::string& pattern) {
  return SortedEntries(path, [&pattern](const std::string& name, const fs::directory_entry& entry) {
    std::error_code typeEc;
    return !Hidden(name) && MatchesPattern(name, pattern) && entry.is_regular_file(typeEc);
  });
}

}  // namespace rh
