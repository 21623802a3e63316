#include "app/window/Init.h"

namespace rh {

void InitializeState(Init& state, bool hec1Enabled, const std::string& installDir,
                     const std::string& root) {
  state.Hec1Enabled = hec1Enabled ? kTrue : kFalse;
  state.InstallDir = installDir;
  state.SetupFileName = "Setup.ini";
  state.LicensePath = state.InstallDir + "LICENSE.txt";
  state.LogoPath = state.InstallDir + "ORV.jpg";
  state.FilePatterns = {"", "*.hc1", "*.*", "", "", ""};
  state.LastDrive = root;
  state.LastDir = root;
}

}  // namespace rh
