// The windowed program: start-up with the real screens, then the main screen's events.
#pragma once

#include <QPointer>

#include "app/window/Main.h"
#include "ui/MainMenu.h"
#include "ui/StudyWindow.h"
#include "ui/UiContext.h"

namespace rh::ui {

// The application's name, version, desktop entry and window icon (the program icon on every
// window). Call once the application object exists.
void SetUpApplication();

// The method explanation screen `screen` (1, 2 or 3), owned by `owner`.
Form* MakeMethodText(int screen, QWidget* owner);

// Runs start-up: the state and settings file, the main screen (modeless), then the three method
// explanation screens one at a time. Returns the main screen, or nullptr after a start-up fault
// (a missing or short settings file, a missing or unreadable logo), which has been reported.
QPointer<MainMenu> StartProgram(UiContext& context, const StartupConfig& config);

// The whole program on an existing application object: start-up, then the event loop until
// "Exit" or the last window closes. Returns the exit status (1 after a start-up fault).
int RunProgram(UiContext& context, const StartupConfig& config);

// The study window alone over the study file `studyFile`, or with "" over the one the user picks
// in the open dialog; closing it ends the program. A study file that cannot be opened is
// reported and the open dialog offered instead. Null when the user cancelled the dialog.
QPointer<StudyWindow> StartStudyProgram(UiContext& context, const StartupConfig& config,
                                        const std::string& studyFile);

// StartStudyProgram, then the event loop: the program's exit status.
int RunStudyProgram(UiContext& context, const StartupConfig& config, const std::string& studyFile);

}  // namespace rh::ui
