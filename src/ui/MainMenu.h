// The main screen: the maker's heading and logo, the five entries of a run, the HEC-1 path entry
// and the buttons that start a run, pick the path, end the program and open the information
// screens.
#pragma once

#include "app/RunRequest.h"
#include "platform/qt/QtForms.h"
#include "ui/UiContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace rh::ui {

class MainMenu : public qt::Form {
  Q_OBJECT

 public:
  explicit MainMenu(UiContext& context);

  // Centres the window, shows the logo (a missing or unreadable logo raises FileFault), then
  // SetupEntryFields.
  void Form_Load() override;
  // The HEC-1 path controls from the switch, and the five entry boxes cleared.
  void SetupEntryFields();

  void Command1_Click();  // "Generate": a run request on the entry boxes
  void Command2_Click();  // "Browse": the file selection dialog, then the chosen path
  void Command3_Click();  // "Exit": ends the program at once
  void Command4_Click();  // web address: the web page screen, faults ignored
  void Command5_Click();  // "Read Software License": the licence text viewer

  // The entry boxes as a run request reads them.
  RunEntries Entries() const;

 private:
  UiContext& context_;
  QLabel* picture1_;
  QLineEdit* text1_;
  QLineEdit* text2_;
  QLineEdit* text3_;
  QLineEdit* text4_;
  QLineEdit* text5_;
  QLineEdit* text7_;
  QLabel* label3_;
  QPushButton* command2_;
};

}  // namespace rh::ui
