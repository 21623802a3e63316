// The licence text viewer: the licence file of the program folder, one line per list item, in a
// fixed-pitch face. The file is read afresh each time the viewer opens.
#pragma once

#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QListWidget;

namespace rh::ui {

class LicenseDisplay : public Form {
  Q_OBJECT

 public:
  LicenseDisplay(UiContext& context, QWidget* owner);

  // Centres the window, then fills the list from the licence file (its first MiB, then a line
  // that says the rest is not shown). A missing or unreadable file, or a folder, raises FileFault
  // and the viewer is not shown.
  void OnLoad() override;
  void OnCancel();  // "Cancel"

 private:
  UiContext& context_;
  QListWidget* licenseList_;
};

}  // namespace rh::ui
