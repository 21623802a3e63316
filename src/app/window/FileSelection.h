// The file selection dialog's behaviour, apart from any toolkit: the three private path strings,
// the event handlers in their exact order, and the recovery from a drive or directory that
// cannot be read. A screen wires its widgets to the user actions below and shows what the lists
// and the view calls say.
#pragma once

#include <string>

#include "app/window/FileLists.h"
#include "app/window/Init.h"
#include "platform/Directories.h"

namespace rh {

// What the dialog asks of its window, apart from the three lists.
class FileSelectionView {
 public:
  virtual ~FileSelectionView() = default;

  virtual void Centre() = 0;

  // The pattern box (`Combo1`).
  virtual void ClearPatterns() = 0;
  virtual void AddPattern(const std::string& pattern) = 0;
  virtual std::string PatternText() = 0;
  virtual void SetPatternText(const std::string& text) = 0;
  virtual void ClearPatternSelection() = 0;  // selection length of the edit text back to 0

  // The read-out of the current path (`text1`).
  virtual void SetReadout(const std::string& text) = 0;
  virtual void RepaintReadout() = 0;

  // A modal warning: exclamation icon, one OK button.
  virtual void ShowWarning(const std::string& title, const std::string& text) = 0;

  // The drive, directory or file list changed what it shows: draw it again from the lists.
  virtual void ListsChanged() = 0;

  virtual void Unload() = 0;
};

class FileSelection {
 public:
  FileSelection(Init& state, Directories& dirs, FileSelectionView& view);
  FileSelection(const FileSelection&) = delete;
  FileSelection& operator=(const FileSelection&) = delete;

  // ---- What the user (or the window) does. A drive or directory that cannot be read is
  // reported with a warning and the dialog goes back to where it was before the action.
  void Load();                                  // the dialog is shown
  void PickDrive(const std::string& drive);     // a drive chosen in the drive list
  void OpenDirectory(const std::string& path);  // a directory line opened in the directory list
  void ClickFile(int index);                    // a line of the file list clicked
  // The pattern box already shows the new text: picked from its drop-down list, or edited.
  void PickPattern();
  void EditPattern();
  void PressOk();
  void PressCancel();  // also the close box

  // ---- The handlers, in the order the dialog's behaviour is written.
  void OnLoad();
  void OnDriveChange();
  void OnDirChange();
  void OnFileClick();
  void OnPatternPick();
  void OnPatternEdit();
  void OnOk();
  void OnCancel();

  const std::string& CurrentDir() const { return currentDir_; }
  const std::string& Readout() const { return readout_; }
  // Test seams: the drive and the file the handlers last took, which the screen never shows.
  const std::string& CurrentDrive() const { return currentDrive_; }
  const std::string& CurrentFile() const { return currentFile_; }

  const DriveListBox& DriveList() const { return driveList_; }
  const DirListBox& DirList() const { return dirList_; }
  const FileListBox& FileList() const { return fileList_; }

 private:
  struct Place {
    std::string currentDrive, currentDir, currentFile, readout;
    DriveListBox::State drive;
    DirListBox::State dir;
    FileListBox::State file;
  };
  Place Here() const;
  void GoBack(const Place& place);
  void SetReadout(const std::string& text);
  template <typename Action>
  void Guarded(Action action);

  Init& state_;
  FileSelectionView& view_;
  DriveListBox driveList_;
  DirListBox dirList_;
  FileListBox fileList_;

  std::string currentDrive_;
  std::string currentDir_;
  std::string currentFile_;
  std::string readout_;
};

}  // namespace rh
