// Forms: top-level windows laid out in twips, loaded by a load handler, shown modeless or modal
// and discarded when unloaded.
//
// Life of a form: it is built (the constructor creates its controls), loaded (OnLoad runs) and
// shown by ShowModeless or ShowModal; Unload hides it and discards it, so the next showing builds
// a new one and runs OnLoad again. A modal show returns only after the form has been
// unloaded, and no other window takes input meanwhile.
#pragma once

#include <QWidget>
#include <string>

#include "ui/framework/Fonts.h"
#include "ui/framework/Twips.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace rh::ui {

class Form : public QWidget {
  Q_OBJECT

 public:
  // A form named `formName` (its objectName) with a client area of the given size in twips and
  // `caption` as window title. `owner` is the window it belongs to (it stays a window of its
  // own, on top of the owner); nullptr for the main screen.
  Form(QWidget* owner, const char* formName, double clientWidth, double clientHeight,
       const QString& caption);
  ~Form() override;

  // The load handler: runs before the form is first displayed. A fault raised here reaches the
  // code that showed the form; the form is then discarded without being displayed.
  virtual void OnLoad() {}

  // Hides the form and discards it (deleted from the event loop). Ends a modal show.
  void Unload();
  bool IsUnloaded() const { return unloaded_; }

  // Places the window in the middle of the screen (CentredPosition on the outer size).
  void CentreOnScreen();

  // The outer window size in twips (frame included once the window has one).
  double OuterWidthTwips() const;
  double OuterHeightTwips() const;

 signals:
  // Emitted once, when the form is unloaded.
  void Unloaded();

 protected:
  // What the window's close box does; by default it unloads the form. Forms whose close box acts
  // as one of their buttons call that button's handler.
  virtual void CloseBox() { Unload(); }

  // The keyboard, as in desktop dialogs: Enter (or keypad Enter) presses the focused button; in a
  // text box it presses the default button, when the form has one. Escape acts as the close box
  // on forms that ask for it.
  void SetDefaultButton(QAbstractButton* button) { defaultButton_ = button; }
  void CloseOnEscape() { closeOnEscape_ = true; }
  void keyPressEvent(QKeyEvent* event) override;

  // Controls, placed and sized in twips relative to the client area, named `name` (objectName).
  // Create them in tab order: labels take no focus, the others follow in creation order. A label
  // two lines high or more wraps its caption; a one-line label is widened to its caption when
  // the caption would not fit.
  QLabel* AddLabel(const char* name, const QString& caption, const TwipRect& where,
                   const FontChoice& font = kDefaultFont);
  QLineEdit* AddTextBox(const char* name, const QString& text, const TwipRect& where,
                        const FontChoice& font = kDefaultFont);
  QPushButton* AddButton(const char* name, const QString& caption, const TwipRect& where,
                         const FontChoice& font = kDefaultFont);
  QListWidget* AddListBox(const char* name, const TwipRect& where,
                          const FontChoice& font = kDefaultFont);
  // A picture box: a sunken frame showing a picture at its own size, clipped to the box.
  QLabel* AddPictureBox(const char* name, const TwipRect& where);

  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Place(QWidget* control, const char* name, const TwipRect& where, const FontChoice& font);

  QWidget* lastInTabOrder_ = nullptr;
  QAbstractButton* defaultButton_ = nullptr;
  bool closeOnEscape_ = false;
  bool unloaded_ = false;
};

// Runs the form's load handler, then displays it and returns at once. Takes ownership of the
// form: on a fault in OnLoad the form is deleted and the fault passed on.
void ShowModeless(Form* form);

// Runs the form's load handler, displays it and returns only after the form has been unloaded;
// meanwhile other windows take no input. Takes ownership of the form: it is deleted before this
// returns, also when OnLoad raises a fault (which is passed on).
void ShowModal(Form* form);

// Ends the program at once with `status`: open windows are not asked to close and no further
// handler runs.
[[noreturn]] void EndProgram(int status = 0);

// Diagnostic trail of shown forms: when the environment variable RH_WINDOW_LOG names a file, one
// line "shown <FormName>" is appended each time a form is displayed and "unloaded <FormName>"
// each time one is unloaded, and "ended program" when the program ends at once. Does nothing
// otherwise.
void LogWindowEvent(const char* event, const QString& formName);

}  // namespace rh::ui
