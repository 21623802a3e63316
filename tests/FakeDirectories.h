// An in-memory directory tree for the file selection lists, with directories that cannot be read.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Faults.h"
#include "platform/Directories.h"

namespace rh::test {

class FakeDirectories : public Directories {
 public:
  FakeDirectories() { dirs.insert("/"); }

  // Adds a directory and every directory above it.
  void AddDir(const std::string& path) {
    for (const auto& a : Ancestors(path))
      dirs.insert(a);
  }
  // Adds a file by its full path, creating its directory.
  void AddFile(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string dir = slash == 0 ? "/" : path.substr(0, slash);
    AddDir(dir);
    files[dir].push_back(path.substr(slash + 1));
  }

  std::vector<std::string> Drives() override { return drives; }
  std::string CurrentDirectory() override { return cwd; }
  std::vector<std::string> Subdirectories(const std::string& path) override {
    Check(path);
    std::vector<std::string> out;
    for (const auto& d : dirs) {
      if (d == "/" || d == path)
        continue;
      const auto slash = d.rfind('/');
      const std::string parent = slash == 0 ? "/" : d.substr(0, slash);
      if (parent == path)
        out.push_back(d.substr(slash + 1));
    }
    std::sort(out.begin(), out.end(), ListOrder);
    return out;
  }
  std::vector<std::string> Files(const std::string& path, const std::string& pattern) override {
    Check(path);
    ++fileListings;
    std::vector<std::string> out;
    for (const auto& name : files[path]) {
      if (MatchesPattern(name, pattern))
        out.push_back(name);
    }
    std::sort(out.begin(), out.end(), ListOrder);
    return out;
  }

  std::vector<std::string> drives{"/"};
  std::string cwd = "/";
  std::set<std::string> dirs;
  std::map<std::string, std::vector<std::string>> files;
  std::set<std::string> unreadable;
  int fileListings = 0;

 private:
  void Check(const std::string& path) {
    if (unreadable.count(path) != 0)
      throw DriveFault("Cannot read " + path + ": the device is not ready.");
    if (dirs.count(path) == 0)
      throw DriveFault("Cannot read " + path + ": no such directory.");
  }
};

}  // namespace rh::test
