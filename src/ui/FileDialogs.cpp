#include "ui/FileDialogs.h"

#include <QDir>

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

std::string AskOpenPath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& filter) {
  const std::string start =
      DialogStartPath(context.state.Memory, folder, "", QDir::homePath().toStdString());
  return Remembered(context, folder, context.prompts.OpenFileName(parent, title, start, filter));
}

}  // namespace rh::ui
