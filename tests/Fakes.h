// Recording fakes of the platform interfaces.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/Clock.h"
#include "platform/Faults.h"
#include "platform/FileSystem.h"

namespace rh::test {

// Files in memory. Paths in `unwritable` fail on write, leaving the stored text as it was.
class MemoryFileSystem : public FileSystem {
 public:
  std::string ReadText(const std::string& path) override {
    const auto it = files.find(path);
    if (it == files.end())
      throw FileFault("Cannot open " + path);
    return it->second;
  }
  void ReplaceText(const std::string& path, std::string_view text) override {
    ++writes;
    if (unwritable.count(path) != 0)
      throw FileFault("Cannot write " + path);
    files[path] = std::string(text);
  }

  std::map<std::string, std::string> files;
  std::set<std::string> unwritable;
  int writes = 0;
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string date = "12/7/2026") : date_(std::move(date)) {}
  std::string ShortDate() override { return date_; }

 private:
  std::string date_;
};

}  // namespace rh::test
