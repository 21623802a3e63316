// Method explanation screen 2.
#pragma once

#include "ui/MethodScreen.h"

namespace rh::ui {

class MethodText2 : public MethodScreen {
  Q_OBJECT

 public:
  explicit MethodText2(QWidget* owner);
};

}  // namespace rh::ui
