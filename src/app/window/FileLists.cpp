#include "app/window/FileLists.h"

#include <utility>

#include "core/Faults.h"

namespace rh {

namespace {

const std::string kRoot(1, kPathSeparator);

std::string LastName(const std::string& path) {
  if (path == kRoot)
    return kRoot;
  return path.substr(path.rfind(kPathSeparator) + 1);
}

// The current directory, or the root when it cannot be read, so a list always starts somewhere.
std::string StartingDirectory(Directories& dirs) {
  std::string cwd = dirs.CurrentDirectory();
  try {
    dirs.Subdirectories(cwd);
    return cwd;
  } catch (const DriveFault&) {
    return kRoot;
  }
}

}  // namespace

// ---- Drive list ----------------------------------------------------------------------------

DriveListBox::DriveListBox(Directories& dirs) : dirs_(dirs) {
  state_.items = dirs_.Drives();
  state_.drive = DriveOf(dirs_.CurrentDirectory(), state_.items);
}

void DriveListBox::SetDrive(const std::string& value) {
  const std::string drive = DriveOf(NormalizePath(value, kRoot), state_.items);
  if (drive == state_.drive)
    return;
  dirs_.Subdirectories(drive);  // a drive that cannot be read is refused here
  state_.drive = drive;
  ++version_;
  if (Change)
    Change();
}

void DriveListBox::Restore(State state) {
  state_ = std::move(state);
  ++version_;
}

// ---- Directory list ------------------------------------------------------------------------

DirListBox::DirListBox(Directories& dirs) : dirs_(dirs) {
  const std::string start = StartingDirectory(dirs_);
  try {
    state_ = Listing(start);
  } catch (const DriveFault&) {
    state_ = State{start, {DirItem{start, LastName(start), true}}, 0};
  }
}

DirListBox::State DirListBox::Listing(const std::string& path) const {
  State s;
  s.path = path;
  const auto subdirs = dirs_.Subdirectories(path);
  const auto ancestors = Ancestors(path);
  for (const auto& a : ancestors)
    s.items.push_back(DirItem{a, LastName(a), true});
  s.pathIndex = static_cast<int>(ancestors.size()) - 1;
  for (const auto& name : subdirs)
    s.items.push_back(DirItem{JoinPath(path == kRoot ? "" : path, name), name, false});
  return s;
}

void DirListBox::SetPath(const std::string& value) {
  State next = Listing(NormalizePath(value, state_.path));
  const bool changed = next.path != state_.path;
  state_ = std::move(next);
  ++version_;
  if (changed && Change)
    Change();
}

void DirListBox::Restore(State state) {
  state_ = std::move(state);
  ++version_;
}

// ---- File list -----------------------------------------------------------------------------

FileListBox::FileListBox(Directories& dirs) : dirs_(dirs) {
  state_.path = StartingDirectory(dirs_);
  state_.pattern = "*.*";
  try {
    state_.items = dirs_.Files(state_.path, state_.pattern);
  } catch (const DriveFault&) {
    state_.items.clear();
  }
}

std::string FileListBox::FileName() const {
  if (state_.listIndex < 0 || state_.listIndex >= static_cast<int>(state_.items.size()))
    return "";
  return state_.items[static_cast<std::size_t>(state_.listIndex)];
}

void FileListBox::List(const std::string& path, const std::string& pattern) {
  auto items = dirs_.Files(path, pattern);
  state_.path = path;
  state_.pattern = pattern;
  state_.items = std::move(items);
  state_.listIndex = -1;
  ++version_;
}

void FileListBox::SetPath(const std::string& value) {
  List(NormalizePath(value, state_.path), state_.pattern);
}

void FileListBox::SetPattern(const std::string& value) {
  List(state_.path, value);
}

void FileListBox::Refresh() {
  List(state_.path, state_.pattern);
}

void FileListBox::Select(int index) {
  state_.listIndex = index >= 0 && index < static_cast<int>(state_.items.size()) ? index : -1;
}

void FileListBox::Restore(State state) {
  state_ = std::move(state);
  ++version_;
}

}  // namespace rh
