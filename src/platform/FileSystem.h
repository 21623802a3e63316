// Whole-file text access. Settings, licence and deck files are small, so they are read and written
// in one piece; a write never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rh {

// One file of a group written together.
struct FileText {
  std::string path;
  std::string_view text;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The bytes of the file at `path`. Throws FileFault when it is missing or unreadable.
  virtual std::string ReadText(const std::string& path) = 0;

  // Replaces the file at `path` with `text`: the text goes to a temporary file beside the target,
  // which is renamed over the target only when it is complete. On any failure the earlier file is
  // left as it was and FileFault is thrown.
  virtual void ReplaceText(const std::string& path, std::string_view text) = 0;

  // Replaces several files, all or none.
  virtual void ReplaceAll(const std::vector<FileText>& files) {
    for (const FileText& file : files)
      ReplaceText(file.path, file.text);
  }
};

// The host's files through the C++ and POSIX libraries.
class StdFileSystem final : public FileSystem {
 public:
  // How a replaced file reaches the disk. Both keep the temporary file + rename, so a reader never
  // sees a half-written file and a failed write leaves the earlier file as it was.
  enum class Durability {
    // Each file is flushed to the disk before it is renamed over the target: after ReplaceText
    // returns, the new text survives a power cut.
    Synced,
    // No flush per file (thousands of files a second in batch runs), and an earlier file is
    // exchanged with the finished one rather than renamed over (which makes ext4 write the data
    // out at once). The data reaches the disk when the system writes it back, or at SyncAll; a
    // power cut before that can lose the newest files (they may then be empty or keep their
    // earlier text).
    Deferred,
  };

  explicit StdFileSystem(Durability durability = Durability::Synced) : durability_(durability) {}
  std::string ReadText(const std::string& path) override;
  void ReplaceText(const std::string& path, std::string_view text) override;

  // Flushes everything written to the file system that holds `folder` (one syncfs call), the
  // closing step of a Deferred batch. Throws FileFault when the folder cannot be opened or the
  // flush fails.
  void SyncAll(const std::string& folder);

 private:
  Durability durability_;
};

}  // namespace rh
