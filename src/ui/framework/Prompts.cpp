#include "ui/framework/Prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "ui/framework/Automation.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

namespace {

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

std::string Prompts::SaveFileName(QWidget* parent, const std::string& title,
                                  const std::string& suggestedPath, const std::string& filter) {
  const QFileInfo suggested(Q(suggestedPath));
  const QString start = lastFolder_.empty() ? suggested.filePath()
                                            : QDir(Q(lastFolder_)).filePath(suggested.fileName());
  std::string chosenFilter;
  const QString chosen =
      Q(AskSaveFileName(parent, title, start.toStdString(), filter, chosenFilter));
  if (chosen.isEmpty())
    return {};
  // A name typed without an extension takes the chosen filter's first one, "*.png" in
  // "PNG images (*.png)"; with no filter reported, the first filter offered is the chosen one.
  QString path = chosen;
  if (QFileInfo(chosen).fileName().indexOf(QLatin1Char('.')) < 0) {
    const QString from = Q(chosenFilter.empty() ? filter : chosenFilter);
    const QRegularExpressionMatch extension =
        QRegularExpression(QStringLiteral("\\*(\\.[A-Za-z0-9]+)")).match(from);
    if (extension.hasMatch())
      path += extension.captured(1);
  }
  lastFolder_ = QFileInfo(path).absolutePath().toStdString();
  return path.toStdString();
}

std::string QtPrompts::AskSaveFileName(QWidget* parent, const std::string& title,
                                       const std::string& startPath, const std::string& filter,
                                       std::string& chosenFilter) {
  if (const auto scripted = ScriptedAnswer(QStringLiteral("SaveDialog")))
    return scripted->toStdString();
  QString selected;
  const QString path =
      QFileDialog::getSaveFileName(parent, Q(title), Q(startPath), Q(filter), &selected);
  chosenFilter = selected.toStdString();
  return path.toStdString();
}

std::string QtPrompts::OpenFileName(QWidget* parent, const std::string& title,
                                    const std::string& startPath, const std::string& filter) {
  if (const auto scripted = ScriptedAnswer(QStringLiteral("OpenDialog")))
    return scripted->toStdString();
  return QFileDialog::getOpenFileName(parent, Q(title), Q(startPath), Q(filter)).toStdString();
}

std::optional<std::size_t> QtPrompts::Choose(QWidget* parent, const std::string& title,
                                             const std::string& text,
                                             const std::vector<std::string>& items) {
  if (const auto scripted = ScriptedAnswer(QStringLiteral("ChoiceDialog"))) {
    bool number = false;
    const std::size_t index = scripted->toULongLong(&number);
    return number && index < items.size() ? std::optional<std::size_t>(index) : std::nullopt;
  }
  QStringList list;
  for (const std::string& item : items)
    list << Q(item);
  bool chosen = false;
  const QString item =
      QInputDialog::getItem(parent, Q(title), Breakable(text), list, 0, false, &chosen);
  if (!chosen)
    return std::nullopt;
  return static_cast<std::size_t>(list.indexOf(item));
}

}  // namespace rh::ui
