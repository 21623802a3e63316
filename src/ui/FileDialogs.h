// The screens' file dialogs: each kind of file starts in the folder the user last used for it
// (remembered between sessions), else in the home folder, and remembers the folder chosen.
#pragma once

#include <string>

#include "app/window/UserMemory.h"
#include "ui/UiContext.h"

class QWidget;

namespace rh::ui {

// The save dialog for a file of kind `folder`, suggesting `fileName`. The path chosen, or "" when
// the user cancelled. (Within a session the dialog opens where the last file was saved.)
std::string AskSavePath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& fileName,
                        const std::string& filter);

// The open dialog for a file of kind `folder`. The path chosen, or "" when the user cancelled.
std::string AskOpenPath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& filter);

}  // namespace rh::ui
