// A file system for the fuzzers: every path holds the same one text, and writing replaces it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace rh::fuzz {

class OneFile final : public FileSystem {
 public:
  using FileSystem::ReadText;
  explicit OneFile(std::string text = {}) : text_(std::move(text)) {}
  std::string ReadText(const std::string&) override { return text_; }
  void ReplaceText(const std::string&, std::string_view text) override { text_ = text; }
  void ReplaceAll(const std::vector<FileText>& files) override {
    for (const FileText& file : files)
      ReplaceText(file.path, file.text);
  }
  void Remove(const std::string&) override {}
  std::unique_ptr<FolderLock> LockFolder(const std::string&) override {
    return std::make_unique<FolderLock>();
  }

 private:
  std::string text_;
};

}  // namespace rh::fuzz
