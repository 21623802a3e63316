// Whole-file text access. Settings, licence and deck files are small, so they are read and written
// in one piece; a write never leaves a half-written file behind.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rh {

namespace files {
struct Target;
class Temporary;
enum class Placement;
template <class Files, class Target, class Temporary, auto Inspect, auto SameFile>
struct ReplaceSteps;
}  // namespace files

// One file of a group written together.
struct FileText {
  std::string path;
  std::string_view text;
};

// A name in a folder, as ListFolder gives it.
struct FolderEntry {
  std::string name;
  bool link = false;  // a symbolic link (or another kind of reparse point), not followed
  // FileIdentity's text for a regular file (the same as for any other name of it); "" for
  // anything else.
  std::string identity;
};

// The bytes of a file, read in pieces (a batch's table, whatever its size).
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Up to `size` bytes into `buffer`; 0 at the end. Throws FileFault when the file cannot be read.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// The bytes of a text in memory, read in pieces. The text must outlive the reader.
class TextReader final : public ByteReader {
 public:
  explicit TextReader(std::string_view text) : text_(text) {}
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string_view text_;
};

// A file written in pieces (a batch's summary, row after row): the text goes to a temporary file
// beside the target, which takes the target's name at Commit. Destroyed before Commit, it leaves
// the target as it was and no temporary behind.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Throws FileFault when the text cannot be written (a full disk).
  virtual void Write(std::string_view text) = 0;
  // Puts the file in place. Throws FileFault, and the target stays as it was, when it cannot.
  virtual void Commit() = 0;
};

// Held while one batch writes into a folder; releasing it (destruction) lets the next one in.
class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  virtual ~FolderLock() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The bytes of the file at `path`. Throws FileFault when it is missing, unreadable or not a
  // regular file (a folder, a FIFO or a device).
  virtual std::string ReadText(const std::string& path) = 0;

  // At most `limit` bytes of the file at `path`; `truncated` tells whether more was there. Faults
  // as ReadText. (By default the whole text is read, then cut.)
  virtual std::string ReadText(const std::string& path, std::size_t limit, bool& truncated);

  // Replaces the file at `path` with `text`: the text goes to a temporary file beside the target,
  // which is renamed over the target only when it is complete. Only a regular file (or a name not
  // yet used) is replaced: a folder, device, FIFO or socket there, or a file the user may not
  // write, is a FileFault and nothing is touched. On any failure the earlier file is left as it
  // was and FileFault is thrown.
  virtual void ReplaceText(const std::string& path, std::string_view text) = 0;

  // Replaces several files all or nothing: every text is written out and checked first, and the
  // files are put in place only once all of them are complete. On any failure no target is
  // touched and FileFault is thrown.
  virtual void ReplaceAll(const std::vector<FileText>& files) = 0;

  // Removes the regular file at `path`; a missing file is fine. A folder, a special file or a file
  // the user may not write is a FileFault.
  virtual void Remove(const std::string& path) = 0;

  // The file at `path` for reading in pieces. Faults as ReadText. (By default the whole text is
  // read first.)
  virtual std::unique_ptr<ByteReader> OpenRead(const std::string& path);

  // A replacement of the file at `path` written in pieces; what may be replaced, and how a failure
  // leaves the earlier file, is as for ReplaceText. (By default the pieces are kept in memory and
  // written with ReplaceText at Commit.)
  virtual std::unique_ptr<FileWriter> BeginReplace(const std::string& path);

  // Keeps other batches out of `folder` while the returned lock lives. Throws FileFault when
  // another one holds it, naming the folder and what to do.
  virtual std::unique_ptr<FolderLock> LockFolder(const std::string& folder) = 0;

  // A text that is the same for every name of one file and different for different files: for a
  // file that exists, the file itself (links followed); otherwise the absolute path with the part
  // that exists resolved (links followed, even to a file not yet made) and the rest normalised.
  // (By default the path, normalised.)
  virtual std::string FileIdentity(const std::string& path);

  // What `folder` holds, its own and its parent's names left out, in no particular order. Throws
  // FileFault when the folder cannot be read. (By default nothing: files in memory have no
  // folders.)
  virtual std::vector<FolderEntry> ListFolder(const std::string& folder);

  // Makes the folder `path` and its parents when missing. FileFault when it cannot, or when
  // something else of that name is there. (By default nothing: files in memory need no folders.)
  virtual void MakeFolder(const std::string& path);

  // Flushes what was written to the disk that holds `folder`, the closing step of a batch. (By
  // default nothing.)
  virtual void SyncAll(const std::string& folder);
};

// The host's files through the POSIX library, or through the Windows API on Windows (what differs
// there is told at the top of src/platform/windows/StdFileSystem.cpp).
class StdFileSystem final : public FileSystem {
 public:
  // How a replaced file reaches the disk. Both keep the temporary file + rename, so a reader never
  // sees a half-written file and a failed write leaves the earlier file as it was.
  enum class Durability {
    // Each file's data is flushed to the disk before it is renamed over the target: when
    // ReplaceText returns, the new text is on the disk. The rename itself reaches the disk with
    // the file system's next commit (within seconds on ext4); a power cut before that leaves the
    // earlier file whole.
    Synced,
    // No flush per file (thousands of files a second in batch runs), and an earlier file is
    // exchanged with the finished one rather than renamed over (which makes ext4 write the data
    // out at once). The earlier files, now under temporary names, are written over as the next
    // files in their folder, and the rest removed by SyncAll or the destructor. The data reaches
    // the disk when the
    // system writes it back, or at SyncAll; a power cut before that can lose the newest files
    // (they may then be empty or keep their earlier text).
    Deferred,
  };

  explicit StdFileSystem(Durability durability = Durability::Synced);
  ~StdFileSystem() override;
  StdFileSystem(const StdFileSystem&) = delete;
  StdFileSystem& operator=(const StdFileSystem&) = delete;

  std::string ReadText(const std::string& path) override;
  std::string ReadText(const std::string& path, std::size_t limit, bool& truncated) override;
  void ReplaceText(const std::string& path, std::string_view text) override;
  void ReplaceAll(const std::vector<FileText>& files) override;
  void Remove(const std::string& path) override;
  std::unique_ptr<ByteReader> OpenRead(const std::string& path) override;
  std::unique_ptr<FileWriter> BeginReplace(const std::string& path) override;
  // Locks the folder itself (flock on the folder, so no lock file is left in it). On a file
  // system without locks the batch runs unlocked.
  std::unique_ptr<FolderLock> LockFolder(const std::string& folder) override;
  std::string FileIdentity(const std::string& path) override;
  // A Deferred file system keeps the names it found: a name written there later that was not
  // among them is taken as free without a look of its own (see FreeNames).
  std::vector<FolderEntry> ListFolder(const std::string& folder) override;
  void MakeFolder(const std::string& path) override;

  // Removes the earlier files still kept, then flushes everything written to the file system
  // that holds `folder` (one syncfs call), the closing step of a Deferred batch. Throws FileFault
  // when the folder cannot be opened or the flush fails.
  void SyncAll(const std::string& folder) override;

 private:
  class Spares;
  class FreeNames;
  template <class Files, class Target, class Temporary, auto Inspect, auto SameFile>
  friend struct files::ReplaceSteps;
  void PutInPlace(files::Target& target, files::Temporary& temp);
  void Settle(files::Temporary& temp, files::Placement placement);
  std::unique_ptr<files::Temporary> NewTemporary(const files::Target& target);
  files::Target LookAt(const std::string& path);
  void NoteListed(const std::string& folder, const std::vector<FolderEntry>& entries);
  Durability durability_;
  std::unique_ptr<Spares> spares_;   // Deferred: reuses or removes the swapped-out earlier files
  std::unique_ptr<FreeNames> free_;  // Deferred: the names of the folder last listed
  unsigned newFileMode_;             // what a plain open gives a new file
};

}  // namespace rh
