// Method explanation screen 3.
#pragma once

#include "ui/MethodScreen.h"

namespace rh::ui {

class MethodText3 : public MethodScreen {
  Q_OBJECT

 public:
  explicit MethodText3(QWidget* owner);
};

}  // namespace rh::ui
