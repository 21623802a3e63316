// What every file system shares: paths as messages show them, the faults of file operations, and
// the plain ways to read and write a file in pieces.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Faults.h"
#include "platform/FileMessages.h"
#include "platform/FileSystem.h"

namespace rh {

namespace files {

FileFault Fault(const char* verb, const std::string& path, const std::string& reason) {
  return FileFault(std::string("Cannot ") + verb + " " + ShownPath(path) + ": " + reason + ".",
                   path);
}

void CheckPathGiven(const std::string& path) {
  if (path.empty())
    throw FileFault("No file name was given.");
}

}  // namespace files

std::string ShownPath(const std::string& path) {
  constexpr std::size_t kMost = 80;  // characters, not bytes: a UTF-8 character counts once
  constexpr std::size_t kHead = 38;
  constexpr std::size_t kTail = kMost - kHead - 3;
  const auto starts = [&path](std::size_t i) {
    return (static_cast<unsigned char>(path[i]) & 0xC0) != 0x80;
  };
  std::vector<std::size_t> characters;  // where each character starts
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (starts(i))
      characters.push_back(i);
  }
  if (characters.size() <= kMost)
    return path;
  return path.substr(0, characters[kHead]) + "..." +
         path.substr(characters[characters.size() - kTail]);
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

void FileSystem::MakeFolder(const std::string&) {}

void FileSystem::SyncAll(const std::string&) {}

}  // namespace rh
