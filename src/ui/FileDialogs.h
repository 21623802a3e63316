// The screens' file dialogs: each kind of file starts in the folder the user last used for it
// (remembered between sessions), else in the home folder, and remembers the folder chosen.
#pragma once

#include <string>

#include "app/run/PreparedRun.h"
#include "app/window/UserMemory.h"
#include "ui/UiContext.h"

class QWidget;

namespace rh::ui {

// The save dialog for a file of kind `folder`, suggesting `fileName`. The path chosen, or "" when
// the user cancelled. (Within a session the dialog opens where the last file was saved.)
std::string AskSavePath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& fileName,
                        const std::string& filter);

// The save dialog for a picture of the chart. The path chosen, or "" when the user cancelled or
// chose a name that is not a picture's (which the program's warning then says).
std::string AskImagePath(UiContext& context, QWidget* parent);

// The open dialog for a file of kind `folder`. The path chosen, or "" when the user cancelled.
std::string AskOpenPath(UiContext& context, QWidget* parent, DialogFolder folder,
                        const std::string& title, const std::string& filter);

// True, after telling the user why under `title`, when the file chosen for a save (`saved`,
// "table" and its path) is one the run reads (the rainfall and pond tables of `inputs`) or writes
// (`deckPath`, "" for none): the same refusal as for a run's own outputs. Nothing is written then.
bool SaveRefused(UiContext& context, QWidget* parent, const std::string& title,
                 const NamedPath& saved, const RunInputs& inputs, const std::string& deckPath);

}  // namespace rh::ui
