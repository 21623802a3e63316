#include "ui/framework/Automation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>

namespace rh::ui {

namespace {

struct Step {
  QString form;
  QString control;  // a button's or text box's name, or "close"
  QString text;     // for a text box: its new text
};

std::deque<Step>& Script() {
  static std::deque<Step> steps = [] {
    std::deque<Step> parsed;
    const QStringList items =
        qEnvironmentVariable("RH_TEST_PRESS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& item : items) {
      const qsizetype dot = item.indexOf(QLatin1Char('.'));
      const qsizetype equals = item.indexOf(QLatin1Char('='));
      if (dot <= 0)
        continue;
      const QString target = equals < 0 ? item.mid(dot + 1) : item.mid(dot + 1, equals - dot - 1);
      parsed.push_back({item.left(dot).trimmed(), target.trimmed(),
                        equals < 0 ? QString() : item.mid(equals + 1)});
    }
    return parsed;
  }();
  return steps;
}

QWidget* OpenForm(const QString& name) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == name && window->isVisible())
      return window;
  }
  return nullptr;
}

}  // namespace

void AdvanceScript() {
  auto& steps = Script();
  if (steps.empty())
    return;
  QWidget* form = OpenForm(steps.front().form);
  if (form == nullptr)
    return;
  const Step step = steps.front();
  steps.pop_front();
  QTimer::singleShot(0, form, [form = QPointer<QWidget>(form), step] {
    if (form.isNull())
      return;
    if (step.control == QLatin1String("close")) {
      form->close();
    } else if (auto* box = form->findChild<QLineEdit*>(step.control)) {
      box->setText(step.text);
    } else if (auto* button = form->findChild<QAbstractButton*>(step.control)) {
      button->click();
    }
    AdvanceScript();
  });
}

std::optional<QString> ScriptedAnswer(const QString& dialog) {
  auto& steps = Script();
  if (steps.empty() || steps.front().form != dialog)
    return std::nullopt;
  const QString answer = steps.front().text;
  // The press that opened the dialog moves the script on once it is done.
  steps.pop_front();
  return answer;
}

}  // namespace rh::ui
