#include "ui/MethodScreen.h"

#include <QPushButton>

#include "app/Maker.h"

namespace rh::ui {

MethodScreen::MethodScreen(QWidget* owner, const char* formName, double clientWidth,
                           double clientHeight)
    : Form(owner, formName, clientWidth, clientHeight, QString::fromUtf8(maker::kRightsNotice)) {}

void MethodScreen::Form_Load() {
  CentreOnScreen();
}

void MethodScreen::Command1_Click() {
  Unload();
}

void MethodScreen::AddNextButton(const qt::TwipRect& where) {
  auto* next = AddButton("Command1", QStringLiteral("Next"), where);
  connect(next, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

}  // namespace rh::ui
