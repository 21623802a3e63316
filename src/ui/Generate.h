// The results screen: loading it performs the run (hydrograph, results list, HEC-1 deck); the
// user reads the list, prints the report as often as wanted and leaves with "Cancel".
#pragma once

#include "platform/qt/QtForms.h"
#include "ui/UiContext.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace rh::ui {

class Generate : public qt::Form {
  Q_OBJECT

 public:
  Generate(UiContext& context, QWidget* owner);

  // Centres the window, computes the run (a fault stops the load: the screen is not shown),
  // fills List1, sets the HEC-1 controls and, with the switch on, writes the deck (a fault there
  // is reported and the filled list is still shown).
  void Form_Load() override;

  void Command1_Click();  // "Cancel": unloads the screen
  void Command2_Click();  // "Print Report": the report on the default printer, or a PDF

 protected:
  void CloseBox() override { Command1_Click(); }

 private:
  void SaveReportAsPdf();

  UiContext& context_;
  QListWidget* list1_;
  QLabel* label1_;
  QLineEdit* text1_;
};

}  // namespace rh::ui
