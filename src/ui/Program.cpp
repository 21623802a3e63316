#include "ui/Program.h"

#include <QApplication>
#include <QIcon>

#include "Version.h"

#include "core/Faults.h"
#include "ui/FaultBoundary.h"
#include "ui/FileDialogs.h"
#include "ui/MethodText.h"

// The icon resource lives in a static library, whose resources are registered only on request.
static void RegisterIcons() {
  Q_INIT_RESOURCE(icons);
}

namespace rh::ui {

void SetUpApplication() {
  RegisterIcons();
  QApplication::setApplicationName(QStringLiteral("Rational Method Hydrograph"));
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  // The desktop entry's name, so window managers and docks match the windows to it.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.orvane.rational_hydrograph"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/rational-hydrograph.png")));
}

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
  ops.ShowWarning = [&](const std::string& title, const std::string& text) {
    context.prompts.Warning(nullptr, title, text);
  };
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
  // The method screens had the focus; typing now goes to the first entry.
  if (!mainMenu.isNull())
    mainMenu->FocusFirstEntry();
  return mainMenu;
}

int RunProgram(UiContext& context, const StartupConfig& config) {
  if (StartProgram(context, config).isNull())
    return 1;
  return QApplication::exec();
}

QPointer<StudyWindow> StartStudyProgram(UiContext& context, const StartupConfig& config,
                                        const std::string& studyFile) {
  InitializeState(context.state, config.hec1Enabled, config.installDir, config.root);
  context.state.Memory = LoadUserMemory(context.files, context.state.UserSettingsDir);
  std::string path = studyFile;
  for (;;) {
    if (path.empty())
      path = AskOpenPath(context, nullptr, DialogFolder::StudyFiles,
                         messages::kOpenStudyDialogTitle, messages::kStudyFileFilter);
    if (path.empty())
      return nullptr;
    QPointer<StudyWindow> window;
    const Outcome outcome = RunAtBoundary(
        context.prompts, nullptr, FaultAnswer{messages::kStudyOpenFaultTitle, {}, {}}, [&] {
          auto* opened = new StudyWindow(context, nullptr, path, true);
          window = opened;
          ShowModeless(opened);
        });
    if (outcome == Outcome::Done)
      return window;
    path.clear();
  }
}

int RunStudyProgram(UiContext& context, const StartupConfig& config, const std::string& studyFile) {
  if (StartStudyProgram(context, config, studyFile).isNull())
    return 0;
  return QApplication::exec();
}

}  // namespace rh::ui
