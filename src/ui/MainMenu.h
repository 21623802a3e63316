// The main screen: the maker's heading and logo, the five entries of a run, the HEC-1 path entry
// and the buttons that start a run, pick the path, end the program and open the information
// screens.
#pragma once

#include "app/run/RunRequest.h"
#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace rh::ui {

class MainMenu : public Form {
  Q_OBJECT

 public:
  explicit MainMenu(UiContext& context);

  // Centres the window, shows the logo (a missing or unreadable logo raises FileFault), then
  // SetupEntryFields.
  void OnLoad() override;
  // The HEC-1 path controls from the switch, and the five entry boxes cleared.
  void SetupEntryFields();
  // The rainfall box from the run's storm: the table's 6-hour depth, greyed, with a tip naming
  // the storm and the pond; typed for the county chart.
  void ShowStorm();
  // Activates the window with the focus in the time of concentration box, so typing starts there.
  void FocusFirstEntry();

  void OnGenerate();     // "Generate": a run request on the entry boxes
  void OnBrowse();       // "Browse": the file selection dialog, then the chosen path
  void OnExit();         // "Exit": ends the program at once
  void OnWebAddress();   // web address: the web page screen, faults ignored
  void OnReadLicense();  // "Read Software License": the licence text viewer

  // The entry boxes as a run request reads them.
  RunEntries Entries() const;

 private:
  UiContext& context_;
  QLabel* logo_;
  QLineEdit* pathBox_;
  QLineEdit* tcBox_;
  QLineEdit* rainBox_;
  QLineEdit* areaBox_;
  QLineEdit* coefBox_;
  QLineEdit* peakBox_;
  QLabel* pathCaption_;
  QPushButton* browseButton_;
};

}  // namespace rh::ui
