#include "platform/qt/Automation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>

namespace rh::qt {

namespace {

struct Step {
  QString form;
  QString control;  // a button's name, or "close"
};

std::deque<Step>& Script() {
  static std::deque<Step> steps = [] {
    std::deque<Step> parsed;
    const QStringList items =
        qEnvironmentVariable("RH_TEST_PRESS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& item : items) {
      const QStringList parts = item.trimmed().split(QLatin1Char('.'));
      if (parts.size() == 2)
        parsed.push_back({parts[0], parts[1]});
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
    } else if (auto* button = form->findChild<QAbstractButton*>(step.control)) {
      button->click();
    }
  });
}

}  // namespace rh::qt
