// What the three method explanation screens have in common: fixed labels, a "Next" button that
// unloads the screen, and a close box that acts as "Next".
#pragma once

#include "platform/qt/QtForms.h"

namespace rh::ui {

class MethodScreen : public qt::Form {
  Q_OBJECT

 public:
  // Centres the window.
  void Form_Load() override;
  // "Next": unloads the screen; start-up then shows the next one.
  void Command1_Click();

 protected:
  MethodScreen(QWidget* owner, const char* formName, double clientWidth, double clientHeight);
  void CloseBox() override { Command1_Click(); }
  void AddNextButton(const qt::TwipRect& where);

  static constexpr qt::FontChoice kHeading{"MS Sans Serif", 8.25, true};
  static constexpr qt::FontChoice kEquation{"MS Sans Serif", 13.5, true};
  static constexpr qt::FontChoice kLegend{"MS Sans Serif", 12, true};
  static constexpr qt::FontChoice kSmall{"MS Sans Serif", 9.75, true};
  static constexpr const char* kHeadingText = "RATIONAL METHOD DESIGN STORM HYDROGRAPH METHOD";
};

}  // namespace rh::ui
