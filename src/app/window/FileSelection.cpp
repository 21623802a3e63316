#include "app/window/FileSelection.h"

#include "core/Faults.h"

namespace rh {

FileSelection::FileSelection(Init& state, Directories& dirs, FileSelectionView& view)
    : state_(state), view_(view), driveList_(dirs), dirList_(dirs), fileList_(dirs) {
  driveList_.Change = [this] { OnDriveChange(); };
  dirList_.Change = [this] { OnDirChange(); };
}

// ---- Handlers ------------------------------------------------------------------------------

void FileSelection::OnLoad() {
  view_.Centre();

  view_.ClearPatterns();
  for (std::size_t slot = 1; slot <= 5; ++slot) {
    if (!state_.FilePatterns[slot].empty())
      view_.AddPattern(state_.FilePatterns[slot]);
  }

  view_.SetPatternText(state_.FilePatterns[1]);
  fileList_.SetPattern(view_.PatternText());

  currentDrive_ = state_.LastDrive;
  currentDir_ = state_.LastDir;
  currentFile_ = "";

  // Raises OnDriveChange (and through it OnDirChange) when the stored drive is not the one the
  // list starts on; CurrentDir is then that drive's directory, not the stored one.
  driveList_.SetDrive(currentDrive_);

  dirList_.SetPath(currentDir_);
  fileList_.SetPath(currentDir_);
  SetReadout(currentDir_);
}

void FileSelection::OnDriveChange() {
  currentDrive_ = driveList_.Drive();
  currentDir_ = currentDrive_;
  currentFile_ = "";
  dirList_.SetPath(currentDrive_);  // runs OnDirChange when the directory changes
  fileList_.SetPath(currentDrive_);
  SetReadout(currentDrive_);
  view_.RepaintReadout();
}

void FileSelection::OnDirChange() {
  currentDir_ = dirList_.Path();
  currentFile_ = "";
  fileList_.SetPath(currentDir_);
  SetReadout(currentDir_);
  view_.RepaintReadout();
}

void FileSelection::OnFileClick() {
  currentFile_ = fileList_.FileName();
  SetReadout(JoinPath(currentDir_, currentFile_));
  view_.RepaintReadout();
}

void FileSelection::OnPatternPick() {
  view_.ClearPatternSelection();
  fileList_.SetPattern(view_.PatternText());
  fileList_.Refresh();
}

void FileSelection::OnPatternEdit() {
  OnPatternPick();
}

void FileSelection::OnOk() {
  if (currentFile_.empty()) {
    view_.ShowWarning(messages::kNoFileTitle, messages::kNoFileText);
    return;
  }
  state_.LastDrive = currentDrive_;
  state_.LastDir = currentDir_;
  state_.SelectedPath = JoinPath(currentDir_, currentFile_);
  view_.Unload();
}

void FileSelection::OnCancel() {
  view_.Unload();
}

// ---- User actions --------------------------------------------------------------------------

FileSelection::Place FileSelection::Here() const {
  return Place{currentDrive_,         currentDir_,         currentFile_,        readout_,
               driveList_.Snapshot(), dirList_.Snapshot(), fileList_.Snapshot()};
}

void FileSelection::GoBack(const Place& place) {
  currentDrive_ = place.currentDrive;
  currentDir_ = place.currentDir;
  currentFile_ = place.currentFile;
  driveList_.Restore(place.drive);
  dirList_.Restore(place.dir);
  fileList_.Restore(place.file);
  SetReadout(place.readout);
  view_.RepaintReadout();
}

void FileSelection::SetReadout(const std::string& text) {
  readout_ = text;
  view_.SetReadout(text);
}

template <typename Action>
void FileSelection::Guarded(Action action) {
  const Place before = Here();
  try {
    action();
  } catch (const DriveFault& fault) {
    GoBack(before);
    view_.ListsChanged();
    view_.ShowWarning(messages::kDriveFaultTitle, fault.what());
    return;
  }
  view_.ListsChanged();
}

void FileSelection::Load() {
  const Place start = Here();
  try {
    OnLoad();
  } catch (const DriveFault& fault) {
    // The stored place is gone or unreadable: open where the lists started instead.
    GoBack(start);
    currentDrive_ = driveList_.Drive();
    currentDir_ = dirList_.Path();
    currentFile_ = "";
    try {
      fileList_.SetPattern(view_.PatternText());
    } catch (const DriveFault&) {
      // The starting directory became unreadable as well; the list keeps what it showed.
    }
    SetReadout(currentDir_);
    view_.ListsChanged();
    view_.ShowWarning(messages::kDriveFaultTitle, fault.what());
    return;
  }
  view_.ListsChanged();
}

void FileSelection::PickDrive(const std::string& drive) {
  Guarded([&] { driveList_.SetDrive(drive); });
}

void FileSelection::OpenDirectory(const std::string& path) {
  Guarded([&] { dirList_.SetPath(path); });
}

void FileSelection::ClickFile(int index) {
  fileList_.Select(index);
  OnFileClick();
}

void FileSelection::PickPattern() {
  Guarded([&] { OnPatternPick(); });
}

void FileSelection::EditPattern() {
  Guarded([&] { OnPatternEdit(); });
}

void FileSelection::PressOk() {
  OnOk();
}

void FileSelection::PressCancel() {
  OnCancel();
}

}  // namespace rh
