#include "ui/framework/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace rh::ui {

namespace {
QString Q(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

void QtPrompts::Warning(QWidget* parent, const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, Q(title), Q(text), QMessageBox::Ok, parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool QtPrompts::Question(QWidget* parent, const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

std::string QtPrompts::SaveFileName(QWidget* parent, const std::string& title,
                                    const std::string& suggestedPath, const std::string& filter) {
  return QFileDialog::getSaveFileName(parent, Q(title), Q(suggestedPath), Q(filter)).toStdString();
}

}  // namespace rh::ui
