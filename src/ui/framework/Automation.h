// Scripted button presses for the end-to-end test of the program binary.
//
// When the environment variable RH_TEST_PRESS holds a comma-separated list of steps
// "FormName.ButtonName", "FormName.TextBoxName=text" or "FormName.close", the program performs
// them one by one as a user would: when the next step's form is open, the step runs once the
// event loop is idle (a button is clicked, a text box gets the text, "close" closes the window
// as its close box does); the script moves on after each step and whenever a form is shown or
// unloaded. Without the variable nothing happens.
#pragma once

namespace rh::ui {

// Runs the next scripted step when its form is open. Called when a form is shown or unloaded.
void AdvanceScript();

}  // namespace rh::ui
