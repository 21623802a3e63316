#include "app/FileSelection.h"

#include "app/Messages.h"
#include "platform/Faults.h"

namespace rh {

FileSelection::FileSelection(Init& state, Directories& dirs, FileSelectionView& view)
    : state_(state), view_(view), drive1_(dirs), dir1_(dirs), file1_(dirs) {
  drive1_.Change = [this] { Drive1_Change(); };
  dir1_.Change = [this] { Dir1_Change(); };
}

// ---- Handlers ------------------------------------------------------------------------------

void FileSelection::Form_Load() {
  view_.Centre();

  view_.ClearPatterns();
  for (std::size_t slot = 1; slot <= 5; ++slot) {
    if (!state_.FilePatterns[slot].empty())
      view_.AddPattern(state_.FilePatterns[slot]);
  }

  view_.SetPatternText(state_.FilePatterns[1]);
  file1_.SetPattern(view_.PatternText());

  currentDrive_ = state_.LastDrive;
  currentDir_ = state_.LastDir;
  currentFile_ = "";

  // Raises Drive1_Change (and through it Dir1_Change) when the stored drive is not the one the
  // list starts on; CurrentDir is then that drive's directory, not the stored one.
  drive1_.SetDrive(currentDrive_);

  dir1_.SetPath(currentDir_);
  file1_.SetPath(currentDir_);
  SetReadout(currentDir_);
}

void FileSelection::Drive1_Change() {
  currentDrive_ = drive1_.Drive();
  currentDir_ = currentDrive_;
  currentFile_ = "";
  dir1_.SetPath(currentDrive_);  // runs Dir1_Change when the directory changes
  file1_.SetPath(currentDrive_);
  SetReadout(currentDrive_);
  view_.RepaintReadout();
}

void FileSelection::Dir1_Change() {
  currentDir_ = dir1_.Path();
  currentFile_ = "";
  file1_.SetPath(currentDir_);
  SetReadout(currentDir_);
  view_.RepaintReadout();
}

void FileSelection::File1_Click() {
  currentFile_ = file1_.FileName();
  SetReadout(JoinPath(currentDir_, currentFile_));
  view_.RepaintReadout();
}

void FileSelection::Combo1_Click() {
  view_.ClearPatternSelection();
  file1_.SetPattern(view_.PatternText());
  file1_.Refresh();
}

void FileSelection::Combo1_Change() {
  Combo1_Click();
}

void FileSelection::Command2_Click() {
  if (currentFile_.empty()) {
    view_.ShowWarning(messages::kNoFileTitle, messages::kNoFileText);
    return;
  }
  state_.LastDrive = currentDrive_;
  state_.LastDir = currentDir_;
  state_.SelectedPath = JoinPath(currentDir_, currentFile_);
  view_.Unload();
}

void FileSelection::Command1_Click() {
  view_.Unload();
}

// ---- User actions --------------------------------------------------------------------------

FileSelection::Place FileSelection::Here() const {
  return Place{currentDrive_,      currentDir_,      currentFile_,     readout_,
               drive1_.Snapshot(), dir1_.Snapshot(), file1_.Snapshot()};
}

void FileSelection::GoBack(const Place& place) {
  currentDrive_ = place.currentDrive;
  currentDir_ = place.currentDir;
  currentFile_ = place.currentFile;
  drive1_.Restore(place.drive);
  dir1_.Restore(place.dir);
  file1_.Restore(place.file);
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
    Form_Load();
  } catch (const DriveFault& fault) {
    // The stored place is gone or unreadable: open where the lists started instead.
    GoBack(start);
    currentDrive_ = drive1_.Drive();
    currentDir_ = dir1_.Path();
    currentFile_ = "";
    try {
      file1_.SetPattern(view_.PatternText());
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
  Guarded([&] { drive1_.SetDrive(drive); });
}

void FileSelection::OpenDirectory(const std::string& path) {
  Guarded([&] { dir1_.SetPath(path); });
}

void FileSelection::ClickFile(int index) {
  file1_.Select(index);
  File1_Click();
}

void FileSelection::PickPattern() {
  Guarded([&] { Combo1_Click(); });
}

void FileSelection::EditPattern() {
  Guarded([&] { Combo1_Change(); });
}

void FileSelection::PressOk() {
  Command2_Click();
}

void FileSelection::PressCancel() {
  Command1_Click();
}

}  // namespace rh
