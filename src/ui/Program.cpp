#include "ui/Program.h"

#include <QApplication>

#include "app/Messages.h"
#include "ui/FaultBoundary.h"
#include "ui/MethodText1.h"
#include "ui/MethodText2.h"
#include "ui/MethodText3.h"

namespace rh::ui {

Form* MakeMethodText(int screen, QWidget* owner) {
  switch (screen) {
    case 1:
      return new MethodText1(owner);
    case 2:
      return new MethodText2(owner);
    default:
      return new MethodText3(owner);
  }
}

QPointer<MainMenu> StartProgram(UiContext& context, const StartupConfig& config) {
  QPointer<MainMenu> mainMenu;
  StartupOps ops;
  ops.ShowMainMenu = [&] {
    auto* screen = new MainMenu(context);
    ShowModeless(screen);
    mainMenu = screen;
  };
  ops.ShowMethodTextModal = [&](int screen) { ShowModal(MakeMethodText(screen, mainMenu)); };

  const FaultAnswer answer{messages::kStartupFaultTitle, messages::kStartupFaultText, {}};
  const Outcome outcome = RunAtBoundary(context.prompts, nullptr, answer,
                                        [&] { Main(context.state, context.files, config, ops); });
  if (outcome != Outcome::Done) {
    delete mainMenu.data();
    return nullptr;
  }
  return mainMenu;
}

int RunProgram(UiContext& context, const StartupConfig& config) {
  if (StartProgram(context, config).isNull())
    return 1;
  return QApplication::exec();
}

}  // namespace rh::ui
