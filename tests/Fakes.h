// Recording fakes of the platform interfaces.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Faults.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/PrintTarget.h"

namespace rh::test {

// Files in memory. Paths in `unwritable` fail on write or removal, leaving the stored text as it
// was; a ReplaceAll with one of them stores nothing. A folder stays locked while its lock lives.
class MemoryFileSystem : public FileSystem {
 public:
  using FileSystem::ReadText;
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
  void ReplaceAll(const std::vector<FileText>& texts) override {
    writes += static_cast<int>(texts.size());
    for (const FileText& file : texts) {
      if (unwritable.count(file.path) != 0)
        throw FileFault("Cannot write " + file.path);
    }
    for (const FileText& file : texts)
      files[file.path] = std::string(file.text);
  }
  void Remove(const std::string& path) override {
    if (unwritable.count(path) != 0)
      throw FileFault("Cannot remove " + path);
    files.erase(path);
  }
  std::unique_ptr<FolderLock> LockFolder(const std::string& folder) override {
    if (!locked.insert(folder).second)
      throw FileFault("Another batch is writing into " + folder);
    return std::make_unique<Lock>(locked, folder);
  }

  void MakeFolder(const std::string& path) override { folders.insert(path); }

  std::map<std::string, std::string> files;
  std::set<std::string> folders;  // folders made
  std::set<std::string> unwritable;
  std::set<std::string> locked;  // folders whose lock is held
  int writes = 0;

 private:
  class Lock final : public FolderLock {
   public:
    Lock(std::set<std::string>& locked, std::string folder)
        : locked_(locked), folder_(std::move(folder)) {}
    ~Lock() override { locked_.erase(folder_); }

   private:
    std::set<std::string>& locked_;
    std::string folder_;
  };
};

// Every test's today, and noon UTC of it.
class FixedClock : public rh::FixedClock {
 public:
  FixedClock() : rh::FixedClock("12/7/2026", 1796644800) {}
};

// A printer that records each job as lines of (position, text) runs. Positions are in printer
// units of `columnWidth` per average character; a character is `columnWidth` wide except digits,
// which are `digitWidth` wide (a proportional font). `failAtWrite` (1-based) or `failAtEndDoc`
// makes that call throw `fault`.
class RecordingPrinter : public Printer {
 public:
  struct Run {
    double x;
    std::string text;
  };
  using Line = std::vector<Run>;
  struct Job {
    std::vector<Line> lines;
    bool ended = false;
    bool aborted = false;
  };

  void Write(std::string_view text) override {
    ++writes;
    if (writes == failAtWrite)
      Fail();
    Current().lines.back().push_back({x_, std::string(text)});
    for (const char c : text)
      x_ += (c >= '0' && c <= '9') ? digitWidth : columnWidth;
  }
  void EndLine() override {
    Current().lines.emplace_back();
    x_ = 0;
  }
  double CurrentX() const override { return x_; }
  void MoveToX(double x) override {
    if (x > x_)
      x_ = x;
  }
  double ColumnWidth() const override { return columnWidth; }
  char DecimalPoint() const override { return decimalPoint; }
  void EndDoc() override {
    if (failAtEndDoc)
      Fail();
    Current().ended = true;
    open_ = false;
  }
  void AbortDoc() override {
    Current().aborted = true;
    open_ = false;
  }

  // The text of a job's lines, runs joined without the gaps between them.
  static std::vector<std::string> Texts(const Job& job) {
    std::vector<std::string> texts;
    for (const Line& line : job.lines) {
      std::string text;
      for (const Run& run : line)
        text += run.text;
      texts.push_back(text);
    }
    return texts;
  }

  double columnWidth = 10;
  double digitWidth = 10;
  char decimalPoint = '.';
  int failAtWrite = 0;
  bool failAtEndDoc = false;
  std::string fault = "printer fault";
  bool faultIsPrinterFault = true;

  std::vector<Job> jobs;
  int writes = 0;

 private:
  Job& Current() {
    if (!open_) {
      jobs.emplace_back();
      jobs.back().lines.emplace_back();
      open_ = true;
    }
    return jobs.back();
  }
  [[noreturn]] void Fail() {
    if (faultIsPrinterFault)
      throw PrinterFault(fault);
    throw std::runtime_error(fault);
  }

  double x_ = 0;
  bool open_ = false;
};

}  // namespace rh::test
