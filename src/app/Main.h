// Program start-up: the global state, the settings file and the first screens.
#pragma once

#include <functional>
#include <string>

#include "app/Init.h"
#include "platform/FileSystem.h"

namespace rh {

struct StartupConfig {
  bool hec1Enabled = false;  // the HEC-1 switch as built
  std::string installDir;    // program folder, ending with the path separator
  std::string root;          // file system root the file dialog starts on
};

struct StartupOps {
  // Shows the main screen without making it modal; its load handler runs inside this call.
  std::function<void()> ShowMainMenu;
  // Shows method explanation screen 1, 2 or 3 modally; returns when it has been closed.
  std::function<void(int screen)> ShowMethodTextModal;
};

// Start-up sequence: fills the state, reads the settings file (a missing or short file raises
// FileFault before any screen is shown), then shows the main screen and the three method
// explanation screens one after another.
void Main(Init& state, FileSystem& files, const StartupConfig& config, const StartupOps& ops);

}  // namespace rh
