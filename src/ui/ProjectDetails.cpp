#include "ui/ProjectDetails.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/Faults.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

ProjectDetailsForm::ProjectDetailsForm(UiContext& context, QWidget* owner)
    : Form(owner, "ProjectDetails", 6240, 4200,
           QString::fromLatin1(messages::kProjectDetailsTitle)),
      context_(context) {
  AddLabel("Label1", QStringLiteral("Project name"), {120, 165, 1455, 255});
  projectBox_ = AddTextBox("Text1", {}, {1680, 120, 4440, 285});
  AddLabel("Label2", QStringLiteral("Basin name"), {120, 525, 1455, 255});
  basinBox_ = AddTextBox("Text2", {}, {1680, 480, 4440, 285});
  AddLabel("Label3", QStringLiteral("Engineer"), {120, 885, 1455, 255});
  engineerBox_ = AddTextBox("Text3", {}, {1680, 840, 4440, 285});
  AddLabel("Label4", QStringLiteral("Notes"), {120, 1245, 1455, 255});
  notesBox_ = new QPlainTextEdit(this);
  notesBox_->setObjectName(QStringLiteral("Text4"));
  notesBox_->setGeometry(ToPixels({1680, 1200, 4440, 2280}));
  notesBox_->setTabChangesFocus(true);  // Enter starts a paragraph; Tab moves on
  QWidget::setTabOrder(engineerBox_, notesBox_);
  auto* okButton = AddButton("Command1", QStringLiteral("OK"), {3000, 3660, 1095, 375});
  auto* cancelButton = AddButton("Command2", QStringLiteral("Cancel"), {4200, 3660, 1095, 375});
  QWidget::setTabOrder(notesBox_, okButton);
  SetDefaultButton(okButton);
  connect(okButton, &QPushButton::clicked, this, [this] { OnOk(); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { OnCancel(); });
  CloseOnEscape();
}

void ProjectDetailsForm::OnLoad() {
  CentreOnScreen();
  const ProjectDetails& project = context_.state.Memory.Project;
  projectBox_->setText(Q(project.ProjectName));
  basinBox_->setText(Q(project.BasinName));
  engineerBox_->setText(Q(project.Engineer));
  notesBox_->setPlainText(Q(project.Notes));
}

void ProjectDetailsForm::OnOk() {
  UserMemory& memory = context_.state.Memory;
  memory.Project = {projectBox_->text().toStdString(), basinBox_->text().toStdString(),
                    engineerBox_->text().toStdString(), notesBox_->toPlainText().toStdString(),
                    memory.Project.License};
  SaveUserMemory(context_.files, context_.state.UserSettingsDir, memory);
  Unload();
}

void ProjectDetailsForm::OnCancel() {
  Unload();
}

}  // namespace rh::ui
