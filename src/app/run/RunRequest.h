// The main screen's run request: its entry boxes and the program's choices, prepared for the run
// step.
#pragma once

#include <functional>

#include "app/run/PreparedRun.h"
#include "app/window/Init.h"
#include "platform/FileSystem.h"

namespace rh {

// The run "Generate" asks for: the entries of the main screen's boxes with the program's choices
// (state.Choices: the storm, peak and pond chosen at start-up) and the HEC-1 switch, whose deck
// goes to the path box's path. Blank entries are refused with nothing changed; otherwise the path
// box becomes ReportPath and `writeSettings` runs (the settings file keeps the path while the
// switch is on) before the other entries are read. Raises what PrepareRun raises.
PreparedRun RequestRun(Init& state, const RunEntries& entries, FileSystem& files,
                       const std::function<void()>& writeSettings);

}  // namespace rh
