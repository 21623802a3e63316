// The windowed program. Its folder holds Setup.ini, LICENSE.txt and ORV.jpg.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Version.h"
#include "app/window/Init.h"
#include "app/window/Main.h"
#include "app/window/Settings.h"
#include "core/ShownText.h"
#include "platform/FileSystem.h"
#include "platform/WriteCleanup.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtOutputDevices.h"
#include "ui/Program.h"
#include "ui/framework/Forms.h"
#include "ui/framework/Prompts.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Whether Qt has somewhere to open windows: a display, or a platform named on the command line
// or in the environment.
bool HasWindowPlatform(const std::vector<std::string>& qtArguments) {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM"))
    return true;
  for (const std::string& argument : qtArguments) {
    if (argument == "-platform" || argument == "--platform")
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Interrupted (Ctrl+C, kill), the program removes the temporary files of the writes in flight.
  rh::InstallWriteSignalCleanup();
  // The program's own options come first, so --help and --version need no display.
  const rh::ProgramOptions options =
      rh::ParseProgramOptions(std::vector<std::string>(argv, argv + argc));
  if (options.help) {
    std::fputs(rh::ProgramUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("rational-hydrograph %s\n", rh::kVersion);
    return 0;
  }
  if (!options.problem.empty()) {
    std::fprintf(stderr, "rational-hydrograph: %s\nTry 'rational-hydrograph --help'.\n",
                 options.problem.c_str());
    return 64;
  }
  if (!HasWindowPlatform(options.qtArguments)) {
    std::fputs(
        "rational-hydrograph: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so "
        "the windows cannot open.\nOn a virtual display: xvfb-run -a rational-hydrograph\n",
        stderr);
    return 1;
  }

  // Qt takes its own options out of what is left.
  std::vector<std::string> qtArguments = options.qtArguments;
  std::vector<char*> qtArgv;
  qtArgv.reserve(qtArguments.size() + 1);
  for (std::string& argument : qtArguments)
    qtArgv.push_back(argument.data());
  qtArgv.push_back(nullptr);
  int qtArgc = static_cast<int>(qtArguments.size());
  QApplication app(qtArgc, qtArgv.data());
  if (qtArgc > 1) {
    std::fprintf(stderr,
                 "rational-hydrograph: unknown option %s\nTry 'rational-hydrograph --help'.\n",
                 rh::ShownText(qtArgv[1]).c_str());
    return 64;
  }
  rh::ui::SetUpApplication();

  auto state = std::make_unique<rh::Init>();
  state->UserSettingsDir = rh::UserSettingsDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  rh::StdFileSystem files;
  rh::QtClock clock;
  rh::ui::QtPrompts prompts;
  rh::QtOutputDevices devices;
  rh::ui::UiContext context{*state, files, clock, prompts, devices, [] { rh::ui::EndProgram(0); }};

  rh::StartupConfig config;
  config.hec1Enabled = rh::kHec1EnabledAtStartup || options.hec1;
  config.installDir = QApplication::applicationDirPath().toStdString() + "/";
  config.root = "/";
  config.rainfall = options.rainfall;
  config.ari = options.ari;
  config.pond = options.pond;
  config.peakChart = options.peakChart;
  return rh::ui::RunProgram(context, config);
}
