// The three method explanation screens, MethodText1 to MethodText3, shown once each at start-up.
// What they have in common: fixed labels, a "Next" button that unloads the screen, and a close box
// that acts as "Next"; each screen's constructor lays out its own labels.
#pragma once

#include "ui/framework/Forms.h"

namespace rh::ui {

class MethodScreen : public Form {
  Q_OBJECT

 public:
  // Centres the window.
  void OnLoad() override;
  // "Next": unloads the screen; start-up then shows the next one.
  void OnNext();

 protected:
  MethodScreen(QWidget* owner, const char* formName, double clientWidth, double clientHeight);
  void CloseBox() override { OnNext(); }
  void AddNextButton(const TwipRect& where);

  static constexpr FontChoice kHeading{"MS Sans Serif", 8.25, true};
  static constexpr FontChoice kEquation{"MS Sans Serif", 13.5, true};
  static constexpr FontChoice kLegend{"MS Sans Serif", 12, true};
  static constexpr FontChoice kSmall{"MS Sans Serif", 9.75, true};
  static constexpr const char* kHeadingText = "RATIONAL METHOD DESIGN STORM HYDROGRAPH METHOD";
};

class MethodText1 : public MethodScreen {
  Q_OBJECT

 public:
  explicit MethodText1(QWidget* owner);
};

class MethodText2 : public MethodScreen {
  Q_OBJECT

 public:
  explicit MethodText2(QWidget* owner);
};

class MethodText3 : public MethodScreen {
  Q_OBJECT

 public:
  explicit MethodText3(QWidget* owner);
};

}  // namespace rh::ui
