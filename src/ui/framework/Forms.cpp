#include "ui/framework/Forms.h"

#include "ui/framework/Automation.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

namespace rh::ui {

Form::Form(QWidget* owner, const char* formName, double clientWidth, double clientHeight,
           const QString& caption)
    : QWidget(owner, Qt::Window) {
  setObjectName(QString::fromLatin1(formName));
  setWindowTitle(caption);
  setFont(MakeFont(kDefaultFont));
  resize(TwipsToPixels(clientWidth, ScreenDpiX()), TwipsToPixels(clientHeight, ScreenDpiY()));
}

Form::~Form() = default;

void Form::Unload() {
  if (unloaded_)
    return;
  unloaded_ = true;
  LogWindowEvent("unloaded", objectName());
  close();
  emit Unloaded();
  deleteLater();
  AdvanceScript();
}

void Form::closeEvent(QCloseEvent* event) {
  if (!unloaded_)
    CloseBox();
  if (unloaded_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  LogWindowEvent("shown", objectName());
  AdvanceScript();
}

void Form::keyPressEvent(QKeyEvent* event) {
  // Keys reach the form when the focused control leaves them: buttons without auto-default and
  // text boxes pass Enter on, and none of the controls takes Escape.
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const int key = event->key();
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    QWidget* focus = focusWidget();
    auto* button = qobject_cast<QAbstractButton*>(focus);
    if (button == nullptr && qobject_cast<QLineEdit*>(focus) != nullptr)
      button = defaultButton_;
    if (button != nullptr && button->isVisible() && button->isEnabled()) {
      event->accept();
      button->click();
      return;
    }
  } else if (plain && key == Qt::Key_Escape && closeOnEscape_) {
    event->accept();
    CloseBox();
    return;
  }
  QWidget::keyPressEvent(event);
}

double Form::OuterWidthTwips() const {
  return PixelsToTwips(frameGeometry().width(), ScreenDpiX());
}

double Form::OuterHeightTwips() const {
  return PixelsToTwips(frameGeometry().height(), ScreenDpiY());
}

void Form::CentreOnScreen() {
  // The outer size needs the native window: create it (hidden) so its frame is known.
  if (!testAttribute(Qt::WA_WState_Created))
    winId();
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr)
    return;
  const QRect area = screen->geometry();
  const double dpiX = ScreenDpiX();
  const double dpiY = ScreenDpiY();
  const TwipPoint at =
      CentredPosition(PixelsToTwips(area.width(), dpiX), PixelsToTwips(area.height(), dpiY),
                      OuterWidthTwips(), OuterHeightTwips());
  move(area.left() + TwipsToPixels(at.left, dpiX), area.top() + TwipsToPixels(at.top, dpiY));
}

void Form::Place(QWidget* control, const char* name, const TwipRect& where,
                 const FontChoice& font) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(ToPixels(where));
  control->setFont(MakeFont(font));
  if (control->focusPolicy() != Qt::NoFocus) {
    if (lastInTabOrder_ != nullptr)
      QWidget::setTabOrder(lastInTabOrder_, control);
    lastInTabOrder_ = control;
  }
}

QLabel* Form::AddLabel(const char* name, const QString& caption, const TwipRect& where,
                       const FontChoice& font) {
  auto* label = new QLabel(caption, this);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFocusPolicy(Qt::NoFocus);
  Place(label, name, where, font);
  // A label two lines high or more wraps its caption at word boundaries. A one-line label keeps
  // its caption on one line and grows to the right when the installed face is wider than the
  // design face, so no word is lost.
  const QFontMetrics metrics(label->font());
  if (label->height() >= 2 * metrics.lineSpacing()) {
    label->setWordWrap(true);
  } else {
    const int needed = metrics.horizontalAdvance(caption) + 2 * label->margin();
    if (needed > label->width())
      label->resize(needed, label->height());
  }
  return label;
}

QLineEdit* Form::AddTextBox(const char* name, const QString& text, const TwipRect& where,
                            const FontChoice& font) {
  auto* box = new QLineEdit(text, this);
  Place(box, name, where, font);
  return box;
}

QPushButton* Form::AddButton(const char* name, const QString& caption, const TwipRect& where,
                             const FontChoice& font) {
  auto* button = new QPushButton(caption, this);
  button->setAutoDefault(false);
  Place(button, name, where, font);
  return button;
}

QListWidget* Form::AddListBox(const char* name, const TwipRect& where, const FontChoice& font) {
  auto* list = new QListWidget(this);
  list->setSortingEnabled(false);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Place(list, name, where, font);
  return list;
}

QLabel* Form::AddPictureBox(const char* name, const TwipRect& where) {
  auto* picture = new QLabel(this);
  picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setFocusPolicy(Qt::NoFocus);
  Place(picture, name, where, kDefaultFont);
  return picture;
}

void ShowModeless(Form* form) {
  try {
    form->OnLoad();
  } catch (...) {
    delete form;
    throw;
  }
  if (form->IsUnloaded())
    return;
  form->show();
  form->activateWindow();
}

void ShowModal(Form* form) {
  QPointer<Form> loaded(form);
  try {
    loaded->OnLoad();
  } catch (...) {
    delete loaded.data();
    throw;
  }
  if (!loaded->IsUnloaded()) {
    QEventLoop loop;
    QObject::connect(loaded.data(), &Form::Unloaded, &loop, &QEventLoop::quit);
    loaded->setWindowModality(Qt::ApplicationModal);
    loaded->show();
    loaded->activateWindow();
    loop.exec(QEventLoop::DialogExec);
  }
  delete loaded.data();
}

void EndProgram(int status) {
  LogWindowEvent("ended program", QString());
  std::fflush(nullptr);
  std::_Exit(status);
}

void LogWindowEvent(const char* event, const QString& formName) {
  static const QString path = qEnvironmentVariable("RH_WINDOW_LOG");
  if (path.isEmpty())
    return;
  QFile log(path);
  if (!log.open(QIODevice::Append | QIODevice::Text))
    return;
  QByteArray line(event);
  if (!formName.isEmpty())
    line += ' ' + formName.toUtf8();
  log.write(line + '\n');
}

}  // namespace rh::ui
