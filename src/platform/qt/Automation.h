// Scripted button presses for the end-to-end test of the program binary.
//
// When the environment variable RH_TEST_PRESS holds a comma-separated list of steps
// "FormName.ControlName" or "FormName.close", the program performs them one by one as if the
// user did: after a form is displayed or unloaded, when the next step's form is open, the step
// runs once the event loop is idle (a button is clicked, "close" closes the window as its close
// box does). Without the variable nothing happens.
#pragma once

namespace rh::qt {

// Runs the next scripted step when its form is open. Called when a form is shown or unloaded.
void AdvanceScript();

}  // namespace rh::qt
