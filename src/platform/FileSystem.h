// Whole-file text access. Settings, licence and deck files are small, so they are read and written
// in one piece; a write never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>

namespace rh {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The bytes of the file at `path`. Throws FileFault when it is missing or unreadable.
  virtual std::string ReadText(const std::string& path) = 0;

  // Replaces the file at `path` with `text`: the text goes to a temporary file beside the target,
  // which is renamed over the target only when it is complete. On any failure the earlier file is
  // left as it was and FileFault is thrown.
  virtual void ReplaceText(const std::string& path, std::string_view text) = 0;
};

// The host's files through the C++ and POSIX libraries.
class StdFileSystem final : public FileSystem {
 public:
  std::string ReadText(const std::string& path) override;
  void ReplaceText(const std::string& path, std::string_view text) override;
};

}  // namespace rh
