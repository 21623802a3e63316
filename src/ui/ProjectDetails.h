// The study's project details: project name, basin name, engineer and notes, which head every page
// of the study document. They are the user's, remembered between sessions.
#pragma once

#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QLineEdit;
class QPlainTextEdit;

namespace rh::ui {

class ProjectDetailsForm : public Form {
  Q_OBJECT

 public:
  ProjectDetailsForm(UiContext& context, QWidget* owner);

  void OnLoad() override;  // centres the window and fills the boxes with the remembered details
  void OnOk();             // "OK": keeps the details (in the user's memory) and closes
  void OnCancel();         // "Cancel": closes, the details as they were

 private:
  UiContext& context_;
  QLineEdit* projectBox_;
  QLineEdit* basinBox_;
  QLineEdit* engineerBox_;
  QPlainTextEdit* notesBox_;
};

}  // namespace rh::ui
