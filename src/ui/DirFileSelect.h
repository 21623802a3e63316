// The file selection dialog: drive list, directory list, file list filtered by a pattern picked
// or typed in a drop-down box, and a read-out of the current path. "OK" stores the chosen drive,
// directory and path in the global state; "Cancel" stores nothing.
#pragma once

#include <memory>

#include "app/window/FileSelection.h"
#include "platform/Directories.h"
#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace rh::ui {

class DirFileSelect : public Form {
  Q_OBJECT

 public:
  // `dirs` is where the lists read drives, directories and files; the host's when null.
  DirFileSelect(UiContext& context, QWidget* owner, Directories* dirs = nullptr);
  ~DirFileSelect() override;

  void OnLoad() override;

  // The dialog's behaviour and its three private strings.
  const FileSelection& Selection() const { return *selection_; }

 protected:
  void CloseBox() override;

 private:
  class View;
  void Redraw();

  UiContext& context_;
  std::unique_ptr<Directories> ownDirs_;
  std::unique_ptr<View> view_;
  std::unique_ptr<FileSelection> selection_;

  QLineEdit* readout_;
  QTreeWidget* dirList_;
  QListWidget* fileList_;
  QComboBox* driveList_;
  QComboBox* patternBox_;

  int driveShown_ = -1;
  int dirShown_ = -1;
  int fileShown_ = -1;
};

}  // namespace rh::ui
