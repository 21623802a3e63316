// The licence text viewer: the licence file of the program folder, one line per list item, in a
// fixed-pitch face. The file is read afresh each time the viewer opens.
#pragma once

#include "platform/qt/QtForms.h"
#include "ui/UiContext.h"

class QListWidget;

namespace rh::ui {

class LicenseDisplay : public qt::Form {
  Q_OBJECT

 public:
  LicenseDisplay(UiContext& context, QWidget* owner);

  // Centres the window, then fills the list from the licence file. A missing or unreadable file
  // raises FileFault and the viewer is not shown.
  void Form_Load() override;
  void Command1_Click();  // "Cancel"

 private:
  UiContext& context_;
  QListWidget* list1_;
};

}  // namespace rh::ui
