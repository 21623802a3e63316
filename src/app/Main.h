// Program start-up: the global state, the settings file and the first screens.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/Init.h"
#include "platform/FileSystem.h"

namespace rh {

struct StartupConfig {
  bool hec1Enabled = false;  // the HEC-1 switch as built
  std::string installDir;    // program folder, ending with the path separator
  std::string root;          // file system root the file dialog starts on
};

// The windowed program's own command-line options. Anything else is left for Qt (its standard
// options such as -platform) in `qtArguments`, which starts with the program name.
struct ProgramOptions {
  bool help = false;     // --help, -h: print the usage and stop
  bool version = false;  // --version: print the version and stop
  bool hec1 = false;     // --hec1: the HEC-1 feature on for this run
  std::vector<std::string> qtArguments;
};

// The options among `arguments` (arguments[0] is the program name).
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string ProgramUsage();

struct StartupOps {
  // Shows the main screen without making it modal; its load handler runs inside this call.
  std::function<void()> ShowMainMenu;
  // Shows method explanation screen 1, 2 or 3 modally; returns when it has been closed.
  std::function<void(int screen)> ShowMethodTextModal;
};

// Start-up sequence: fills the state, reads the settings (the user's file, else the program
// folder's; when neither can be read FileFault is raised before any screen is shown), then shows
// the main screen and the three method explanation screens one after another.
void Main(Init& state, FileSystem& files, const StartupConfig& config, const StartupOps& ops);

}  // namespace rh
