// The file selection dialog: drive list, directory list, file list filtered by a pattern picked
// or typed in a drop-down box, and a read-out of the current path. "OK" stores the chosen drive,
// directory and path in the global state; "Cancel" stores nothing.
#pragma once

#include <memory>

#include "app/FileSelection.h"
#include "platform/Directories.h"
#include "platform/qt/QtForms.h"
#include "ui/UiContext.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace rh::ui {

class DirFileSelect : public qt::Form {
  Q_OBJECT

 public:
  // `dirs` is where the lists read drives, directories and files; the host's when null.
  DirFileSelect(UiContext& context, QWidget* owner, Directories* dirs = nullptr);
  ~DirFileSelect() override;

  void Form_Load() override;

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

  QLineEdit* text1_;
  QTreeWidget* dir1_;
  QListWidget* file1_;
  QComboBox* drive1_;
  QComboBox* combo1_;

  int driveShown_ = -1;
  int dirShown_ = -1;
  int fileShown_ = -1;
};

}  // namespace rh::ui
