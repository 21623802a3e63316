#include "ui/FileDialogs.h"

#include <QDir>

#include "core/Faults.h"
#include "output/Plot.h"

namespace rh::ui {

namespace {

std::string Remembered(UiContext& context, DialogFolder folder, const std::string& path) {
  if (!path.empty())
    RememberFolder(context.state.Memory, context.files, context.state.UserSettingsDir, folder,
                   path);
  return path;
}

}  // namespace

std::string AskSavePath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& fileName,
                        const std::string& filter) {
  const std::string start =
      DialogStartPath(context.state.Memory, folder, fileName, QDir::homePath().toStdString());
  return Remembered(context, folder, context.prompts.SaveFileName(parent, title, start, filter));
}

std::string AskImagePath(UiContext& context, QWidget* parent) {
  std::string path = AskSavePath(context, parent, DialogFolder::Images, messages::kImageDialogTitle,
                                 "hydrograph.png", messages::kImageFilter);
  if (!path.empty() && !PlotFormatOf(path)) {
    context.prompts.Warning(parent, messages::kImageFaultTitle, messages::kImageNameText);
    return {};
  }
  return path;
}

std::string AskOpenPath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& filter) {
  const std::string start =
      DialogStartPath(context.state.Memory, folder, "", QDir::homePath().toStdString());
  return Remembered(context, folder, context.prompts.OpenFileName(parent, title, start, filter));
}

bool SaveRefused(UiContext& context, QWidget* parent, const std::string& title,
                 const NamedPath& saved, const RunInputs& inputs, const std::string& deckPath) {
  try {
    CheckSavedFile(saved, inputs, deckPath, context.files);
    return false;
  } catch (const UsageError& refusal) {
    context.prompts.Warning(parent, title, refusal.what());
    return true;
  }
}

}  // namespace rh::ui
