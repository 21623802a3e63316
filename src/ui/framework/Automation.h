// Scripted button presses for the end-to-end test of the program binary.
//
// When the environment variable RH_TEST_PRESS holds a comma-separated list of steps
// "FormName.ButtonName", "FormName.TextBoxName=text" or "FormName.close", the program performs
// them one by one as a user would: when the next step's form is open, the step runs once the
// event loop is idle (a button is clicked, a text box gets the text, "close" closes the window
// as its close box does); the script moves on after each step and whenever a form is shown or
// unloaded. A step "SaveDialog.name=PATH" (or "OpenDialog.name=PATH") answers the next save (or
// open) file dialog with PATH in place of the user, and "ChoiceDialog.item=N" the next choice
// with item N (from 0). Without the variable nothing happens.
#pragma once

#include <QString>
#include <optional>

namespace rh::ui {

// Runs the next scripted step when its form is open. Called when a form is shown or unloaded.
void AdvanceScript();

// The scripted answer to the dialog `dialog` ("SaveDialog", "OpenDialog", "ChoiceDialog") when the
// next step is for it (the step is used up; the scripted press that opened the dialog moves the
// script on). None otherwise.
std::optional<QString> ScriptedAnswer(const QString& dialog);

}  // namespace rh::ui
