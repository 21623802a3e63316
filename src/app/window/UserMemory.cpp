#include "app/window/UserMemory.h"

#include <filesystem>
#include <utility>

#include "core/Faults.h"
#include "platform/Paths.h"

namespace rh {

namespace {

constexpr const char* kFileName = "Study.ini";

// The keys of the folders, by DialogFolder.
constexpr std::array<const char*, kDialogFolders> kFolderKeys = {
    "folder-opened-tables", "folder-images",  "folder-studies",    "folder-decks",
    "folder-tables",        "folder-reports", "folder-study-files"};

std::string Escaped(const std::string& value) {
  std::string out;
  for (const char c : value) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
      out += c;  // other control characters would make the line unreadable
  }
  return out;
}

// The value of an escaped text; false when it holds a control character other than a tab, or an
// escape that is neither "\n" nor "\\".
bool Unescaped(std::string_view text, std::string& value) {
  value.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
      return false;
    if (c != '\\') {
      value += c;
      continue;
    }
    if (++i == text.size())
      return false;
    if (text[i] == 'n')
      value += '\n';
    else if (text[i] == '\\')
      value += '\\';
    else
      return false;
  }
  return true;
}

// The details by key, for reading and writing them alike.
template <typename Project>
auto Details(Project& project) {
  using Field = decltype(&project.ProjectName);
  return std::array<std::pair<const char*, Field>, 4>{{{"project", &project.ProjectName},
                                                       {"basin", &project.BasinName},
                                                       {"engineer", &project.Engineer},
                                                       {"notes", &project.Notes}}};
}

}  // namespace

std::string UserMemoryPath(const std::string& userSettingsDir) {
  return userSettingsDir.empty() ? std::string() : userSettingsDir + kFileName;
}

UserMemory ParseUserMemory(std::string_view text) {
  UserMemory memory;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
      break;  // no line end: the line may have been cut short
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      continue;
    const std::string_view key = line.substr(0, equals);
    std::string value;
    if (!Unescaped(line.substr(equals + 1), value))
      continue;
    for (auto& [name, field] : Details(memory.Project)) {
      if (key == name)
        *field = value;
    }
    for (std::size_t i = 0; i < kDialogFolders; ++i) {
      if (key == kFolderKeys[i])
        memory.Folders[i] = value;
    }
  }
  return memory;
}

std::string UserMemoryText(const UserMemory& memory) {
  std::string text;
  for (const auto& [name, field] : Details(memory.Project)) {
    if (!field->empty())
      text.append(name).append("=").append(Escaped(*field)).append("\n");
  }
  for (std::size_t i = 0; i < kDialogFolders; ++i) {
    if (!memory.Folders[i].empty())
      text.append(kFolderKeys[i]).append("=").append(Escaped(memory.Folders[i])).append("\n");
  }
  return text;
}

UserMemory LoadUserMemory(FileSystem& files, const std::string& userSettingsDir) {
  const std::string path = UserMemoryPath(userSettingsDir);
  if (path.empty())
    return {};
  try {
    bool truncated = false;
    return ParseUserMemory(files.ReadText(path, kUserMemoryMostBytes, truncated));
  } catch (const FileFault&) {
    return {};
  }
}

bool SaveUserMemory(FileSystem& files, const std::string& userSettingsDir,
                    const UserMemory& memory) {
  const std::string path = UserMemoryPath(userSettingsDir);
  if (path.empty())
    return false;
  try {
    files.MakeFolder(userSettingsDir);
    files.ReplaceText(path, UserMemoryText(memory));
    return true;
  } catch (const FileFault&) {
    return false;
  }
}

std::string DialogStartPath(const UserMemory& memory, DialogFolder dialog,
                            const std::string& fileName, const std::string& fallbackFolder) {
  const std::string& remembered = memory.Folder(dialog);
  return PathInFolder(remembered.empty() ? fallbackFolder : remembered, fileName);
}

void NoteFolder(UserMemory& memory, DialogFolder dialog, const std::string& usedPath) {
  std::error_code error;
  const std::filesystem::path whole = std::filesystem::absolute(usedPath, error);
  const std::string folder =
      (error ? std::filesystem::path(usedPath) : whole).parent_path().string();
  if (!folder.empty())
    memory.Folder(dialog) = folder;
}

void RememberFolder(UserMemory& memory, FileSystem& files, const std::string& userSettingsDir,
                    DialogFolder dialog, const std::string& chosenPath) {
  const std::string folder = std::filesystem::path(chosenPath).parent_path().string();
  if (folder.empty() || folder == memory.Folder(dialog))
    return;
  memory.Folder(dialog) = folder;
  SaveUserMemory(files, userSettingsDir, memory);
}

}  // namespace rh
