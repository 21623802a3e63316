// The program's state: the HEC-1 switch, the program folder and its files, the report path, the
// file selection dialog's places and the last run the screens show. The windowed program holds
// exactly one instance for its whole run.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/run/PreparedRun.h"
#include "app/window/UserMemory.h"
#include "engine/Hydrograph.h"

namespace rh {

// Booleans are 16-bit with true = -1.
using Boolean16 = std::int16_t;
constexpr Boolean16 kTrue = -1;
constexpr Boolean16 kFalse = 0;

struct Init {
  // Feature switch for the HEC-1 deck: path entry, settings write-back, ten-zero tail, deck.
  Boolean16 Hec1Enabled = kFalse;

  std::string InstallDir;     // program folder, ending with the path separator
  std::string SetupFileName;  // settings file name inside InstallDir
  // The user's own settings folder, ending with the path separator: the settings file there is
  // read when it exists and is the one written back. "" when the user has none (no home folder):
  // the program folder's file is then read and written. The program sets it before start-up
  // (InitializeState leaves it as it is).
  std::string UserSettingsDir;
  std::string LicensePath;  // licence text shown by the licence viewer
  std::string LogoPath;     // logo picture on the main screen
  std::string ReportPath;   // HEC-1 deck path: settings file at start-up, then the path box
  std::array<std::string, 6>
      FilePatterns;          // wildcard patterns offered by the file dialog, slots 1..5
  std::string LastDrive;     // last drive chosen in the file dialog
  std::string LastDir;       // last directory chosen in the file dialog
  std::string SelectedPath;  // last path chosen in the file dialog

  // What every run of the windowed program is asked for beyond its entries: the storm, the peak
  // and the pond chosen when the program started (the county chart, the typed peak and no pond
  // unless chosen). The HEC-1 switch and the path box add the deck at each run request.
  RunChoices Choices;

  // The user's project details and the folders their file dialogs last used, kept between
  // sessions beside the per-user settings file.
  UserMemory Memory;
};

// The program folder layout and the first values of the state, before the settings file is read.
// `installDir` ends with the host's path separator; `root` is the file system root the file
// dialog starts on.
void InitializeState(Init& state, bool hec1Enabled, const std::string& installDir,
                     const std::string& root);

}  // namespace rh
