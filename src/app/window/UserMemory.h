// What the windowed program remembers for each user between sessions: the study's project details
// and the folders last used in its file dialogs. It is kept in Study.ini, a file of its own beside
// the per-user Setup.ini, as `key=value` lines; Setup.ini keeps its three lines.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "output/StudyDocument.h"
#include "platform/FileSystem.h"

namespace rh {

// The file dialogs that remember their folder.
enum class DialogFolder {
  OpenedTables,  // rainfall and pond tables opened in the study window
  Images,        // charts saved as pictures
  Studies,       // study documents
  Decks,         // HEC-1 decks saved from the study window
  Tables,        // hydrograph tables saved from the results screen
  Reports,       // printed reports saved as PDF files
  StudyFiles,    // study files (.rhstudy) opened and saved
};
inline constexpr std::size_t kDialogFolders = 7;

struct UserMemory {
  ProjectDetails Project;
  // The folder last used by each dialog, by DialogFolder; "" when none is remembered.
  std::array<std::string, kDialogFolders> Folders;

  std::string& Folder(DialogFolder dialog) { return Folders[static_cast<std::size_t>(dialog)]; }
  const std::string& Folder(DialogFolder dialog) const {
    return Folders[static_cast<std::size_t>(dialog)];
  }
};

// The most of the file that is read: it holds a few short lines.
inline constexpr std::size_t kUserMemoryMostBytes = 8192;

// The memory file in the user's settings folder `userSettingsDir` (ending with the separator);
// "" when the user has no settings folder, and then nothing is remembered.
std::string UserMemoryPath(const std::string& userSettingsDir);

// The memory in `text`. Anything it cannot use is passed over: lines without "=", unknown keys,
// values with control characters, a last line cut short. Values are one line each; a backslash
// escapes a line break ("\n") and itself ("\\").
UserMemory ParseUserMemory(std::string_view text);

// The file's text: a `key=value` line for each detail and folder that is not empty.
std::string UserMemoryText(const UserMemory& memory);

// The memory of the user with settings folder `userSettingsDir`: empty when there is none, or its
// file is missing or cannot be read.
UserMemory LoadUserMemory(FileSystem& files, const std::string& userSettingsDir);

// Writes `memory` whole (making the settings folder when missing). The memory is a convenience: a
// file that cannot be written is left as it was and the program carries on. Returns whether it was
// written; false too when the user has no settings folder.
bool SaveUserMemory(FileSystem& files, const std::string& userSettingsDir,
                    const UserMemory& memory);

// Where the dialog `dialog` opens for a file named `fileName`: in the folder it used last, else in
// `fallbackFolder`.
std::string DialogStartPath(const UserMemory& memory, DialogFolder dialog,
                            const std::string& fileName, const std::string& fallbackFolder);

// Remembers the folder of `usedPath`, a file of the dialog's kind the program opened without the
// dialog (a table or a study named at start-up), for this session only: the dialog then opens
// there.
void NoteFolder(UserMemory& memory, DialogFolder dialog, const std::string& usedPath);

// Remembers the folder of `chosenPath` for `dialog` and saves the memory (as SaveUserMemory).
void RememberFolder(UserMemory& memory, FileSystem& files, const std::string& userSettingsDir,
                    DialogFolder dialog, const std::string& chosenPath);

}  // namespace rh
