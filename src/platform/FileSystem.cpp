// What every file system shares: the faults of file operations, and the plain ways to read and
// write a file in pieces.
#include <algorithm>
#include <filesystem>
#include <string>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/FileMessages.h"
#include "platform/FileSystem.h"

namespace rh {

namespace files {

FileFault Fault(const char* verb, const std::string& path, const std::string& reason) {
  return FileFault(
      std::string(messages::kCannotText) + verb + " " + ShownText(path) + ": " + reason + ".",
      path);
}

void CheckPathGiven(const std::string& path) {
  if (path.empty())
    throw FileFault(messages::kNoFileNameText);
  // The system would read the name only up to the NUL and use another file.
  if (path.find('\0') != std::string::npos)
    throw Fault("use", path, messages::kNulInNameReason);
}

}  // namespace files

std::string FileSystem::ReadText(const std::string& path, std::size_t limit, bool& truncated) {
  std::string text = ReadText(path);
  truncated = text.size() > limit;
  if (truncated)
    text.resize(limit);
  return text;
}

std::size_t TextReader::Read(char* buffer, std::size_t size) {
  const std::size_t n = std::min(size, text_.size());
  std::copy_n(text_.data(), n, buffer);
  text_.remove_prefix(n);
  return n;
}

namespace {

class HeldTextReader final : public ByteReader {
 public:
  explicit HeldTextReader(std::string text) : text_(std::move(text)), reader_(text_) {}
  std::size_t Read(char* buffer, std::size_t size) override { return reader_.Read(buffer, size); }

 private:
  std::string text_;
  TextReader reader_;
};

class HeldTextWriter final : public FileWriter {
 public:
  HeldTextWriter(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
  void Write(std::string_view text) override { text_.append(text); }
  void Commit() override { files_.ReplaceText(path_, text_); }

 private:
  FileSystem& files_;
  std::string path_;
  std::string text_;
};

}  // namespace

std::unique_ptr<ByteReader> FileSystem::OpenRead(const std::string& path) {
  return std::make_unique<HeldTextReader>(ReadText(path));
}

std::unique_ptr<FileWriter> FileSystem::BeginReplace(const std::string& path) {
  return std::make_unique<HeldTextWriter>(*this, path);
}

std::string FileSystem::FileIdentity(const std::string& path) {
  return std::filesystem::path(path).lexically_normal().generic_string();
}

std::vector<FolderEntry> FileSystem::ListFolder(const std::string&) {
  return {};
}

void FileSystem::MakeFolder(const std::string&) {}

void FileSystem::SyncAll(const std::string&) {}

}  // namespace rh
