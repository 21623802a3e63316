#include "ui/framework/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace rh::ui {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// A message's text with a place to break the line (a zero-width space) every 40 characters of a
// word longer than that: a long path or entry wraps instead of widening the box past the screen.
QString Breakable(const std::string& text) {
  constexpr int kLongest = 40;
  const QString in = Q(text);
  QString out;
  out.reserve(in.size() + in.size() / kLongest);
  int run = 0;
  for (const QChar c : in) {
    run = c.isSpace() ? 0 : run + 1;
    if (run > kLongest) {
      out += QChar(0x200B);
      run = 1;
    }
    out += c;
  }
  return out;
}

}  // namespace

void QtPrompts::Warning(QWidget* parent, const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, Q(title), Breakable(text), QMessageBox::Ok, parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool QtPrompts::Question(QWidget* parent, const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, Q(title), Breakable(text),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

std::string QtPrompts::SaveFileName(QWidget* parent, const std::string& title,
                                    const std::string& suggestedPath, const std::string& filter) {
  return QFileDialog::getSaveFileName(parent, Q(title), Q(suggestedPath), Q(filter)).toStdString();
}

}  // namespace rh::ui
