// The host's files through the Windows API. Paths arrive as UTF-8 and reach the API as UTF-16.
//
// A file is replaced whole: the text goes to a temporary file `.NAME.XXXXXX` beside the target,
// is flushed with FlushFileBuffers, and takes the target's name with ReplaceFileW (which keeps the
// earlier file's attributes and permissions) or, where the disk cannot do that, with MoveFileExW
// (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). What the POSIX build does differently:
// - Files written together (ReplaceAll) are put in place one after another, each earlier file
//   moved aside first, so that should one fail the others are put back as they were. Between
//   the two moves a reader may briefly find no file at a name; a new file takes the folder's
//   permissions.
// - A Deferred batch renames each file over the earlier one and flushes the files it wrote
//   itself, 4096 at a time and the rest at SyncAll: Windows has no call that flushes a whole disk
//   for a user, nor an exchange of two names to reuse earlier files.
// - A symbolic link at a target is replaced by the file rather than followed.
// - The batch folder is locked through a hidden lock file in it, removed when the lock ends.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/FileMessages.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/ReplaceSteps.h"
#include "platform/WriteCleanup.h"
#include "platform/windows/WideText.h"

namespace rh {

using files::Fault;
using windows::ApiPath;

namespace {

constexpr std::size_t kMaxNameKept = 240;  // bytes of the target's name in the temporary's name
constexpr std::size_t kFlushBatch = 4096;  // files a Deferred batch flushes at a time
constexpr DWORD kMostPerCall = 1u << 30;   // bytes one ReadFile or WriteFile call moves
constexpr const char* kLockName = ".rational-hydrograph-batch.lock";

// Why an operation failed, in the same words as the POSIX build where the cause is the same.
std::string ErrorReason(DWORD err) {
  switch (err) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return messages::kNoPermissionReason;
    case ERROR_WRITE_PROTECT:
      return messages::kReadOnlyDiskReason;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return messages::kDiskFullReason;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
      return messages::kDiskErrorReason;
    case ERROR_FILENAME_EXCED_RANGE:
      return messages::kNameTooLongReason;
    case ERROR_DIRECTORY:
      return messages::kNotAFolderReason;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return messages::kWindowsNameReason;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
      return messages::kFileBusyReason;
    case ERROR_TOO_MANY_OPEN_FILES:
      return messages::kTooManyOpenReason;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return messages::kNoSuchFileReason;
    default:
      return windows::SystemMessage(err);
  }
}

std::string ReadReason(DWORD err) {
  return err == ERROR_ACCESS_DENIED ? messages::kNoReadPermissionReason : ErrorReason(err);
}

std::string CreateReason(DWORD err) {
  if (err == ERROR_PATH_NOT_FOUND)
    return messages::kNoSuchFolderReason;
  if (err == ERROR_ACCESS_DENIED)
    return messages::kNoFolderPermissionReason;
  return ErrorReason(err);
}

bool NotFound(DWORD err) {
  return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // Closes now; false (GetLastError says why) when closing failed.
  bool Close() {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// What is at a path.
struct Entry {
  enum Kind { Missing, File, Folder, Special, Unknown } kind = Missing;
  DWORD attributes = 0;
  DWORD error = 0;  // why the path could not be looked at (Missing or Unknown)
};

Entry Look(const std::string& path, const std::wstring& api) {
  Entry entry;
  if (IsWindowsDeviceName(path)) {
    entry.kind = Entry::Special;
    return entry;
  }
  entry.attributes = ::GetFileAttributesW(api.c_str());
  if (entry.attributes == INVALID_FILE_ATTRIBUTES) {
    entry.error = ::GetLastError();
    entry.kind = NotFound(entry.error) ? Entry::Missing : Entry::Unknown;
  } else if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    entry.kind = Entry::Folder;
  } else if ((entry.attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
    entry.kind = Entry::Special;
  } else {
    entry.kind = Entry::File;
  }
  return entry;
}

// Opens a regular file for reading; a folder or device is refused before it is opened.
HANDLE OpenRegular(const std::string& path) {
  files::CheckPathGiven(path);
  const std::wstring api = ApiPath(path);
  const Entry entry = Look(path, api);
  if (entry.kind == Entry::Folder)
    throw Fault("read", path, messages::kIsFolderReason);
  if (entry.kind == Entry::Special)
    throw Fault("read", path, messages::kIsSpecialReason);
  Handle file(::CreateFileW(api.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid())
    throw Fault("open", path, ReadReason(::GetLastError()));
  if (::GetFileType(file.get()) != FILE_TYPE_DISK)
    throw Fault("read", path, messages::kIsSpecialReason);
  return file.release();
}

// Up to `size` bytes; 0 at the end.
std::size_t ReadSome(HANDLE file, char* buffer, std::size_t size, const std::string& path) {
  DWORD got = 0;
  const auto want = static_cast<DWORD>(std::min<std::size_t>(size, kMostPerCall));
  if (::ReadFile(file, buffer, want, &got, nullptr) == 0) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_HANDLE_EOF || err == ERROR_BROKEN_PIPE)
      return 0;
    throw Fault("read", path, ErrorReason(err));
  }
  return got;
}

class HandleReader final : public ByteReader {
 public:
  HandleReader(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    return ReadSome(file_.get(), buffer, size, path_);
  }

 private:
  Handle file_;
  std::string path_;
};

// The full path of `api` for comparing names, "" when Windows cannot make one.
std::wstring FullPath(const std::wstring& api) {
  const DWORD size = ::GetFullPathNameW(api.c_str(), 0, nullptr, nullptr);
  if (size == 0)
    return {};
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(api.c_str(), size, full.data(), nullptr);
  full.resize(length < size ? length : 0);
  return full;
}

// Six letters or digits, different in every call and in every process.
std::string RandomSuffix() {
  static thread_local std::mt19937_64 random([] {
    std::random_device device;
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ now ^ ::GetCurrentProcessId() ^
           (static_cast<std::uint64_t>(::GetCurrentThreadId()) << 20);
  }());
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t z = random();
  std::string suffix(6, ' ');
  for (char& c : suffix) {
    c = kChars[z % 62];
    z /= 62;
  }
  return suffix;
}

// Holds the interrupt handler off while files are moved into place together: it waits for this as
// for a temporary file being made (two seconds at most), so it never removes an earlier file that
// waits aside.
class HandlerHeld {
 public:
  explicit HandlerHeld(const std::string& path) {
    if (!BeginCreatingTemporary())
      throw Fault("write", path, messages::kProgramEndingReason);
  }
  HandlerHeld(const HandlerHeld&) = delete;
  HandlerHeld& operator=(const HandlerHeld&) = delete;
  ~HandlerHeld() { EndCreatingTemporary(); }
};

// Closing the lock file releases the lock and removes the file.
class LockFileLock final : public FolderLock {
 public:
  explicit LockFileLock(HANDLE file) : file_(file) {}

 private:
  Handle file_;
};

}  // namespace

namespace files {

// Where a replaced file goes.
struct Target {
  std::string path;  // as given, for messages
  std::wstring api;  // for the file functions
  bool exists = false;
};

enum class Placement { New, Replaced };

// Decides what is at `path` before anything is written: a file the user may write, or a free
// name. A folder or device is refused, and so is a read-only file.
Target Inspect(const std::string& path) {
  CheckPathGiven(path);
  if (IsPathSeparator(path.back()))
    throw Fault("write", path, messages::kIsFolderReason);
  // A colon past the drive would write into a hidden stream of another file.
  if (HasColonPastDrive(path))
    throw Fault("write", path, messages::kWindowsNameReason);
  Target target{path, ApiPath(path)};
  const Entry entry = Look(path, target.api);
  switch (entry.kind) {
    case Entry::Missing:
      return target;  // a new file; a missing folder shows when the temporary is made
    case Entry::Unknown:
      throw Fault("write", path, ErrorReason(entry.error));
    case Entry::Folder:
      throw Fault("write", path, messages::kIsFolderReason);
    case Entry::Special:
      throw Fault("write", path, messages::kIsSpecialReason);
    case Entry::File:
      break;
  }
  if ((entry.attributes & FILE_ATTRIBUTE_READONLY) != 0)
    throw Fault("write", path, messages::kNoChangePermissionReason);
  target.exists = true;
  return target;
}

bool SameFile(const Target& a, const Target& b) {
  const std::wstring fullA = FullPath(a.api);
  const std::wstring fullB = FullPath(b.api);
  if (!fullA.empty() &&
      ::CompareStringOrdinal(fullA.c_str(), -1, fullB.c_str(), -1, TRUE) == CSTR_EQUAL)
    return true;
  if (!a.exists || !b.exists)
    return false;
  // Two names of one file (a hard link, a share and its local path).
  const auto id = [](const Target& t, BY_HANDLE_FILE_INFORMATION& info) {
    const Handle file(::CreateFileW(t.api.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    return file.valid() && ::GetFileInformationByHandle(file.get(), &info) != 0;
  };
  BY_HANDLE_FILE_INFORMATION infoA{};
  BY_HANDLE_FILE_INFORMATION infoB{};
  return id(a, infoA) && id(b, infoB) && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

// The temporary file `.NAME.XXXXXX` beside a target, registered for removal by the interrupt
// handler before it is made. It is removed when it goes out of scope, unless it was put in place.
class Temporary {
 public:
  explicit Temporary(const Target& target) : shown_(target.path) {
    const std::string folder = FolderPart(target.path);
    std::string name = target.path.substr(folder.size());
    if (name.size() > kMaxNameKept) {
      name.resize(kMaxNameKept);
      // Drop the last character whole when the cut may have split it.
      if (static_cast<unsigned char>(name.back()) >= 0x80) {
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
          name.pop_back();
        if (!name.empty())
          name.pop_back();
      }
    }
    for (int attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
      api_ = ApiPath(folder + "." + name + "." + RandomSuffix());
      if (!BeginCreatingTemporary())
        throw Fault("write", shown_, messages::kProgramEndingReason);
      slot_ = RegisterTemporary(windows::Narrow(api_).c_str());
      if (slot_ < 0) {
        EndCreatingTemporary();
        throw Fault("write", shown_, messages::kTooManyWritesReason);
      }
      // Shared for deletion, so that the interrupt handler can remove it while it is open.
      file_.reset(::CreateFileW(api_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      const DWORD err = ::GetLastError();
      EndCreatingTemporary();
      if (!file_.valid()) {
        ForgetTemporary(slot_);
        slot_ = -1;
        api_.clear();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS)
          throw Fault("write", shown_, CreateReason(err));
      }
    }
    if (!file_.valid())
      throw Fault("write", shown_, messages::kNoTemporaryNameReason);
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    file_.Close();
    if (!api_.empty())
      ::DeleteFileW(api_.c_str());
    ForgetTemporary(slot_);
  }

  const std::wstring& api() const { return api_; }

  // Writes all of `text`, flushes it to the disk when asked, and closes the file.
  void Write(std::string_view text, bool sync) {
    Append(text);
    Finish(sync);
  }

  // Writes all of `text` at the end of what is written so far.
  void Append(std::string_view text) {
    while (!text.empty()) {
      DWORD wrote = 0;
      const auto size = static_cast<DWORD>(std::min<std::size_t>(text.size(), kMostPerCall));
      if (::WriteFile(file_.get(), text.data(), size, &wrote, nullptr) == 0)
        throw Fault("write", shown_, ErrorReason(::GetLastError()));
      if (wrote == 0)
        throw Fault("write", shown_, ErrorReason(ERROR_DISK_FULL));
      text.remove_prefix(wrote);
    }
  }

  // Flushes the text to the disk when asked and closes the file.
  void Finish(bool sync) {
    if (sync && ::FlushFileBuffers(file_.get()) == 0)
      throw Fault("write", shown_, ErrorReason(::GetLastError()));
    if (!file_.Close())
      throw Fault("write", shown_, ErrorReason(::GetLastError()));
  }

  // The file now has the target's name: nothing is left to remove.
  void Placed() {
    api_.clear();
    ForgetTemporary(slot_);
    slot_ = -1;
  }

 private:
  std::string shown_;
  std::wstring api_;
  Handle file_;
  int slot_ = -1;
};

// Puts the complete temporary at the target's name. A free name is taken only while it is still
// free; an earlier file is replaced: with ReplaceFileW when `synced`, which carries its attributes
// and permissions over, else (a batch, or a disk that cannot) renamed over.
Placement Place(Target& target, Temporary& temp, bool synced) {
  const DWORD through = synced ? MOVEFILE_WRITE_THROUGH : 0;
  if (!target.exists) {
    if (::MoveFileExW(temp.api().c_str(), target.api.c_str(), through) != 0)
      return Placement::New;
    const DWORD err = ::GetLastError();
    if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS)
      throw Fault("write", target.path, CreateReason(err));
    target = Inspect(target.path);  // something took the name meanwhile: a file to replace?
  }
  if (synced) {
    if (::ReplaceFileW(target.api.c_str(), temp.api().c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                       nullptr) != 0)
      return Placement::Replaced;
    const DWORD err = ::GetLastError();
    if (err == ERROR_UNABLE_TO_REMOVE_REPLACED || err == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
        err == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 || err == ERROR_ACCESS_DENIED ||
        err == ERROR_SHARING_VIOLATION)
      throw Fault("write", target.path, ErrorReason(err));
  }
  if (::MoveFileExW(temp.api().c_str(), target.api.c_str(), MOVEFILE_REPLACE_EXISTING | through) ==
      0)
    throw Fault("write", target.path, ErrorReason(::GetLastError()));
  return Placement::Replaced;
}

}  // namespace files

using files::Inspect;
using files::Placement;
using files::SameFile;
using files::Target;
using files::Temporary;

// What a Deferred batch has yet to flush: the files it put in place, flushed kFlushBatch at a
// time and the rest at SyncAll. A failed flush is kept for SyncAll to report, so it never counts
// against the row that happened to start the flushing. (The POSIX build keeps the earlier files
// swapped out of their names here, to be written over.)
class StdFileSystem::Spares {
 public:
  void Add(const Target& target) {
    std::vector<Target> due;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      written_.push_back(target);
      if (written_.size() < kFlushBatch)
        return;
      due.swap(written_);
    }
    Flush(due);
  }

  // Flushes every file still due; FileFault for the first that could not be flushed.
  void FlushAll() {
    std::vector<Target> due;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      due.swap(written_);
    }
    Flush(due);
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!failure_.empty())
      throw FileFault(failure_, failedPath_);
  }

 private:
  void Flush(const std::vector<Target>& files) {
    for (const Target& target : files) {
      const Handle file(::CreateFileW(target.api.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
      DWORD err = 0;
      if (!file.valid())
        err = ::GetLastError();
      else if (::FlushFileBuffers(file.get()) == 0)
        err = ::GetLastError();
      if (err == 0 || NotFound(err))  // a file replaced or removed since has nothing to flush
        continue;
      const std::lock_guard<std::mutex> lock(mutex_);
      if (failure_.empty()) {
        failure_ = Fault("flush", target.path, ErrorReason(err)).what();
        failedPath_ = target.path;
      }
    }
  }

  std::mutex mutex_;
  std::vector<Target> written_;
  std::string failure_;  // the first flush that failed
  std::string failedPath_;
};

// Every name a write here goes to is looked at first: a listed folder's names are not kept (the
// POSIX build keeps them, and takes a name not among them as free).
class StdFileSystem::FreeNames {};

StdFileSystem::StdFileSystem(Durability durability)
    : durability_(durability),
      spares_(durability == Durability::Deferred ? std::make_unique<Spares>() : nullptr),
      newFileMode_(0) {}

StdFileSystem::~StdFileSystem() = default;

std::unique_ptr<ByteReader> StdFileSystem::OpenRead(const std::string& path) {
  return std::make_unique<HandleReader>(OpenRegular(path), path);
}

std::string StdFileSystem::ReadText(const std::string& path) {
  bool truncated = false;
  return ReadText(path, std::string::npos, truncated);
}

std::string StdFileSystem::ReadText(const std::string& path, std::size_t limit, bool& truncated) {
  truncated = false;
  const Handle file(OpenRegular(path));
  LARGE_INTEGER size{};
  const std::size_t expected =
      ::GetFileSizeEx(file.get(), &size) != 0 ? static_cast<std::size_t>(size.QuadPart) : 0;
  // Read up to the expected size plus one byte, so a file read whole needs no second read that
  // finds the end; a file that grows meanwhile is read on in 64 KiB steps.
  std::string text;
  for (;;) {
    const std::size_t have = text.size();
    if (have == limit) {
      char extra = 0;
      truncated = ReadSome(file.get(), &extra, 1, path) > 0;
      break;
    }
    const std::size_t want = std::min(limit - have, have <= expected ? expected + 1 - have : 65536);
    text.resize(have + want);
    const std::size_t got = ReadSome(file.get(), text.data() + have, want, path);
    text.resize(have + got);
    if (got == 0)
      break;
  }
  return text;
}

void StdFileSystem::Remove(const std::string& path) {
  files::CheckPathGiven(path);
  if (IsPathSeparator(path.back()))
    throw Fault("remove", path, messages::kIsFolderReason);
  const std::wstring api = ApiPath(path);
  const Entry entry = Look(path, api);
  switch (entry.kind) {
    case Entry::Missing:
      return;
    case Entry::Unknown:
      throw Fault("remove", path, ErrorReason(entry.error));
    case Entry::Folder:
      throw Fault("remove", path, messages::kIsFolderReason);
    case Entry::Special:
      throw Fault("remove", path, messages::kIsSpecialReason);
    case Entry::File:
      break;
  }
  if ((entry.attributes & FILE_ATTRIBUTE_READONLY) != 0)
    throw Fault("remove", path, messages::kNoChangePermissionReason);
  if (::DeleteFileW(api.c_str()) == 0) {
    const DWORD err = ::GetLastError();
    if (!NotFound(err))
      throw Fault(
          "remove", path,
          err == ERROR_ACCESS_DENIED ? messages::kNoChangePermissionReason : ErrorReason(err));
  }
}

std::unique_ptr<Temporary> StdFileSystem::NewTemporary(const Target& target) {
  return std::make_unique<Temporary>(target);
}

void StdFileSystem::PutInPlace(Target& target, Temporary& temp) {
  files::Place(target, temp, durability_ == Durability::Synced);
  temp.Placed();
  if (spares_)
    spares_->Add(target);
}

using Steps = files::ReplaceSteps<StdFileSystem, Target, Temporary, Inspect, SameFile>;

void StdFileSystem::ReplaceText(const std::string& path, std::string_view text) {
  Steps::ReplaceText(*this, path, text);
}

std::unique_ptr<FileWriter> StdFileSystem::BeginReplace(const std::string& path) {
  return std::make_unique<Steps::Writer>(*this, path);
}

void StdFileSystem::ReplaceAll(const std::vector<FileText>& files) {
  if (files.size() == 1) {
    ReplaceText(files[0].path, files[0].text);  // nothing to keep together
    return;
  }
  std::vector<Target> targets = Steps::InspectAll(files);
  const bool synced = durability_ == Durability::Synced;
  const DWORD through = synced ? MOVEFILE_WRITE_THROUGH : 0;
  std::vector<std::unique_ptr<Temporary>> temps;
  std::vector<std::unique_ptr<Temporary>> asides;  // where each earlier file waits
  temps.reserve(files.size());
  asides.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    temps.push_back(NewTemporary(targets[i]));
    temps.back()->Write(files[i].text, synced);
    asides.push_back(targets[i].exists ? NewTemporary(targets[i]) : nullptr);
    if (asides.back())
      asides.back()->Finish(false);
  }

  // Every file is complete: move each earlier file aside and the new one in, and put them all
  // back should one fail, with the interrupt handler held off until all are in.
  const HandlerHeld held(files.front().path);
  std::size_t placed = 0;
  const auto move = [](const std::wstring& from, const std::wstring& to, DWORD flags) {
    return ::MoveFileExW(from.c_str(), to.c_str(), flags) != 0;
  };
  try {
    for (; placed < files.size(); ++placed) {
      const Target& target = targets[placed];
      const Temporary* aside = asides[placed].get();
      if (aside && !move(target.api, aside->api(), MOVEFILE_REPLACE_EXISTING | through))
        throw Fault("write", target.path, ErrorReason(::GetLastError()));
      if (!move(temps[placed]->api(), target.api, through)) {
        const DWORD err = ::GetLastError();
        if (aside)
          move(aside->api(), target.api, MOVEFILE_REPLACE_EXISTING | through);
        throw Fault("write", target.path, aside ? ErrorReason(err) : CreateReason(err));
      }
    }
  } catch (const FileFault&) {
    for (std::size_t i = placed; i-- > 0;) {
      move(targets[i].api, temps[i]->api(), 0);
      if (asides[i])
        move(asides[i]->api(), targets[i].api, MOVEFILE_REPLACE_EXISTING);
    }
    throw;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    temps[i]->Placed();
    if (spares_)
      spares_->Add(targets[i]);
  }
}

std::string StdFileSystem::FileIdentity(const std::string& path) {
  files::CheckPathGiven(path);
  const std::wstring api = ApiPath(path);
  // A file that exists, under any of its names (links followed, a share and its local path): its
  // volume and index.
  const Handle file(::CreateFileW(api.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (file.valid() && ::GetFileInformationByHandle(file.get(), &info) != 0) {
    const std::uint64_t index =
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return "file " + std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(index);
  }
  // A name not yet used: its full path in capitals, as Windows' names ignore case.
  std::wstring full = FullPath(api);
  if (full.empty())
    full = api;
  const int size = static_cast<int>(full.size());
  std::wstring upper(full.size(), L'\0');
  if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, full.c_str(), size, upper.data(),
                      size, nullptr, nullptr, 0) == size)
    full = upper;
  return "path " + windows::Narrow(full);
}

std::vector<FolderEntry> StdFileSystem::ListFolder(const std::string& folder) {
  const std::string dir = folder.empty() ? "." : folder;
  files::CheckPathGiven(dir);
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileW(ApiPath(PathInFolder(dir, "*")).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND)
      return entries;
    throw Fault("read the folder", dir, ErrorReason(err));
  }
  do {
    FolderEntry entry;
    entry.name = windows::Narrow(found.cFileName);
    if (entry.name == "." || entry.name == "..")
      continue;
    // A reparse point (a symbolic link, a junction) is not followed.
    entry.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!entry.link && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      entry.identity = FileIdentity(PathInFolder(dir, entry.name));
    entries.push_back(std::move(entry));
  } while (::FindNextFileW(find, &found) != 0);
  ::FindClose(find);
  return entries;
}

namespace {

// Makes the folder `path`, its missing parents first.
void CreateFolder(const std::string& path, int depth) {
  const std::wstring api = ApiPath(path);
  if (::CreateDirectoryW(api.c_str(), nullptr) != 0)
    return;
  DWORD err = ::GetLastError();
  if (err == ERROR_PATH_NOT_FOUND && depth < 128) {
    std::string parent = FolderPart(path);
    while (parent.size() > 1 && IsPathSeparator(parent.back()) && parent[parent.size() - 2] != ':')
      parent.pop_back();
    if (!parent.empty() && parent != path) {
      CreateFolder(parent, depth + 1);
      if (::CreateDirectoryW(api.c_str(), nullptr) != 0)
        return;
      err = ::GetLastError();
    }
  }
  const DWORD attributes = ::GetFileAttributesW(api.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return;  // there already (a drive's root, a share, another process's new folder)
  if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS)
    throw Fault("create the folder", path, messages::kNameTakenReason);
  throw Fault("create the folder", path, ErrorReason(err));
}

}  // namespace

void StdFileSystem::MakeFolder(const std::string& path) {
  files::CheckPathGiven(path);
  CreateFolder(path, 0);
}

void StdFileSystem::SyncAll(const std::string& folder) {
  const std::string dir = folder.empty() ? "." : folder;
  if (::GetFileAttributesW(ApiPath(dir).c_str()) == INVALID_FILE_ATTRIBUTES)
    throw Fault("open", dir, ErrorReason(::GetLastError()));
  if (spares_)
    spares_->FlushAll();
}

std::unique_ptr<FolderLock> StdFileSystem::LockFolder(const std::string& folder) {
  const std::string dir = folder.empty() ? "." : folder;
  const DWORD attributes = ::GetFileAttributesW(ApiPath(dir).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD err = ::GetLastError();
    throw Fault("use the folder", dir,
                NotFound(err) ? messages::kFolderMissingReason : ErrorReason(err));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    throw Fault("use the folder", dir, ErrorReason(ERROR_DIRECTORY));
  // A folder cannot be locked with LockFileEx: a hidden file in it is, removed as it closes.
  const std::wstring lockPath = ApiPath(PathInFolder(dir, kLockName));
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD err = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    file = ::CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    err = ::GetLastError();
    if (file != INVALID_HANDLE_VALUE || err != ERROR_ACCESS_DENIED)
      break;
    ::Sleep(10);  // the last batch's lock file is being removed, or the folder is read-only
  }
  if (file == INVALID_HANDLE_VALUE) {
    // A folder the user may not write in runs the batch unlocked: its rows fail one by one, as
    // they do on POSIX.
    if (err == ERROR_ACCESS_DENIED || err == ERROR_WRITE_PROTECT)
      return std::make_unique<FolderLock>();
    throw Fault("lock", dir, ErrorReason(err));
  }
  auto lock = std::make_unique<LockFileLock>(file);
  OVERLAPPED at{};
  if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) == 0) {
    err = ::GetLastError();
    if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING) {
      throw FileFault(messages::kBatchLockedText + ShownText(dir) + messages::kBatchLockedAdvice);
    }
    // A disk without locks (some network shares) runs the batch unlocked.
    if (err != ERROR_NOT_SUPPORTED && err != ERROR_INVALID_FUNCTION)
      throw Fault("lock", dir, ErrorReason(err));
  }
  return lock;
}

}  // namespace rh
