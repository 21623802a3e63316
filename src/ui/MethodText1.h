// Method explanation screen 1.
#pragma once

#include "ui/MethodScreen.h"

namespace rh::ui {

class MethodText1 : public MethodScreen {
  Q_OBJECT

 public:
  explicit MethodText1(QWidget* owner);
};

}  // namespace rh::ui
