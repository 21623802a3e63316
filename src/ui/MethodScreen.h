// What the three method explanation screens have in common: fixed labels, a "Next" button that
// unloads the screen, and a close box that acts as "Next".
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

}  // namespace rh::ui
