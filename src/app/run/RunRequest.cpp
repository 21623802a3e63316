#include "app/run/RunRequest.h"

namespace rh {

PreparedRun RequestRun(Init& state, const RunEntries& entries, FileSystem& files,
                       const std::function<void()>& writeSettings) {
  RunChoices choices = state.Choices;
  choices.Hec1 = state.Hec1Enabled != kFalse;
  choices.DeckPath = entries.Path;
  return PrepareRun(entries, choices, files, [&] {
    state.ReportPath = entries.Path;
    if (writeSettings)
      writeSettings();
  });
}

}  // namespace rh
