#include "ui/MethodText.h"

#include <QPushButton>

#include "app/window/Maker.h"

namespace rh::ui {

MethodScreen::MethodScreen(QWidget* owner, const char* formName, double clientWidth,
                           double clientHeight)
    : Form(owner, formName, clientWidth, clientHeight, QString::fromUtf8(maker::kRightsNotice)) {}

void MethodScreen::OnLoad() {
  CentreOnScreen();
}

void MethodScreen::OnNext() {
  Unload();
}

void MethodScreen::AddNextButton(const TwipRect& where) {
  auto* next = AddButton("Command1", QStringLiteral("Next"), where);
  connect(next, &QPushButton::clicked, this, [this] { OnNext(); });
}

}  // namespace rh::ui
