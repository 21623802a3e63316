#include "app/Main.h"

#include "app/Settings.h"

namespace rh {

void Main(Init& state, FileSystem& files, const StartupConfig& config, const StartupOps& ops) {
  InitializeState(state, config.hec1Enabled, config.installDir, config.root);
  ReadSettings(state, files);
  state.SelectedPath = state.ReportPath;
  ops.ShowMainMenu();
  for (int screen = 1; screen <= 3; ++screen)
    ops.ShowMethodTextModal(screen);
}

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  ProgramOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (i > 0 && (argument == "--help" || argument == "-h")) {
      options.help = true;
    } else if (i > 0 && argument == "--version") {
      options.version = true;
    } else if (i > 0 && argument == "--hec1") {
      options.hec1 = true;
    } else {
      options.qtArguments.push_back(argument);
    }
  }
  return options;
}

std::string ProgramUsage() {
  return "Usage: rational-hydrograph [--hec1] [Qt options]\n"
         "       rational-hydrograph --help | --version\n"
         "\n"
         "Builds the rational-method design-storm runoff hydrograph of a drainage basin in a\n"
         "window. For scripts and batch runs use rational-hydrograph-cli.\n"
         "\n"
         "  --hec1      turn the HEC-1 input deck feature on for this run\n"
         "  --help      print this usage and exit\n"
         "  --version   print the program version and exit\n"
         "\n"
         "Settings: $XDG_CONFIG_HOME/rational-hydrograph/Setup.ini (~/.config when unset), else\n"
         "the Setup.ini of the program folder.\n";
}

}  // namespace rh
