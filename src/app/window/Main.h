// Program start-up: the global state, the settings file and the first screens.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/window/Init.h"
#include "platform/FileSystem.h"

namespace rh {

struct StartupConfig {
  bool hec1Enabled = false;  // the HEC-1 switch as built
  std::string installDir;    // program folder, ending with the path separator
  std::string root;          // file system root the file dialog starts on
  // Choices for every run, from the command line: a rainfall table and its return period, a pond
  // table, the peak from the chart.
  std::string rainfall;
  std::string ari;
  std::string pond;
  bool peakChart = false;
};

// The windowed program's own command-line options, read from its option table (the same kind as
// the companion's). Anything else is left for Qt (its standard
// options such as -platform) in `qtArguments`, which starts with the program name.
struct ProgramOptions {
  bool help = false;       // --help, -h: print the usage and stop
  bool version = false;    // --version: print the version and stop
  bool hec1 = false;       // --hec1: the HEC-1 feature on for this run
  std::string rainfall;    // --rainfall FILE: the storm from a rainfall table
  std::string ari;         // --ari YEARS: its return period
  std::string pond;        // --pond FILE: route every run through a pond
  bool peakChart = false;  // --peak-chart: the peak discharge from the chart
  // --study-file FILE, or a bare FILE.rhstudy: the study window on that study file, with no
  // method screens.
  std::string studyFile;
  bool openStudy = false;  // --open-study: the study window's open dialog first
  // What cannot be read as the program's options ("" when all is well): a usage error.
  std::string problem;
  std::vector<std::string> qtArguments;
};

// The options among `arguments` (arguments[0] is the program name).
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// What an argument neither the program nor Qt takes is told: "unknown option --rainfal", and the
// nearest of the program's options ("; did you mean --rainfall?").
std::string ProgramUnknownOptionText(const std::string& argument);

// The text --help prints: the program's option table.
std::string ProgramUsage();

struct StartupOps {
  // Shows the program's warning (a start-up choice that cannot serve) and waits for the user.
  std::function<void(const std::string& title, const std::string& text)> ShowWarning;
  // Shows the main screen without making it modal; its load handler runs inside this call.
  std::function<void()> ShowMainMenu;
  // Shows method explanation screen 1, 2 or 3 modally; returns when it has been closed.
  std::function<void(int screen)> ShowMethodTextModal;
};

// Start-up sequence: fills the state, reads the settings (the user's file, else the program
// folder's; when neither can be read FileFault is raised before any screen is shown) and the
// user's memory (UserMemory, never a fault), reads the start-up choices of `config` (a table that
// cannot serve is refused with the program's warning, naming the file and the line, and the
// program carries on with the county chart), then shows the main screen and the three method
// explanation screens one after another.
void Main(Init& state, FileSystem& files, const StartupConfig& config, const StartupOps& ops);

}  // namespace rh
