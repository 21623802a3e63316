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

}  // namespace rh
