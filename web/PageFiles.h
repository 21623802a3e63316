// The browser page's files: the tables the user picked, held in memory under their names, and the
// outputs a run writes beside them, which the page then offers as downloads.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/FileSystem.h"

namespace rh::web {

class PageFiles final : public FileSystem {
 public:
  using FileSystem::ReadText;
  void Put(const std::string& path, std::string text) { files_[path] = std::move(text); }

  std::string ReadText(const std::string& path) override {
    const auto it = files_.find(path);
    if (it == files_.end())
      throw FileFault("Cannot open " + ShownText(path) + ": no such file.", path);
    return it->second;
  }
  void ReplaceText(const std::string& path, std::string_view text) override {
    if (path.empty())
      throw FileFault(messages::kNoFileNameText);
    files_[path] = std::string(text);
  }
  void ReplaceAll(const std::vector<FileText>& texts) override {
    for (const FileText& file : texts) {
      if (file.path.empty())
        throw FileFault(messages::kNoFileNameText);
    }
    for (const FileText& file : texts)
      ReplaceText(file.path, file.text);
  }
  void Remove(const std::string& path) override { files_.erase(path); }
  // The page runs no batches: nothing else writes into its folders.
  std::unique_ptr<FolderLock> LockFolder(const std::string&) override {
    return std::make_unique<FolderLock>();
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace rh::web
