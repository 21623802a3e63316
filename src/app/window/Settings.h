// The settings file Setup.ini: two heading lines and the HEC-1 report path. Each user has their
// own in their settings folder; the program folder's file is the shipped default.
#pragma once

#include <string>
#include <string_view>

#include "app/window/Init.h"
#include "platform/FileSystem.h"

namespace rh {

// Reads comma- or line-delimited fields from text the way sequential input does: leading spaces
// are skipped; a field that starts with a double quote runs to the closing quote (the quotes are
// not part of it); otherwise it runs to the next comma or line end, without trailing spaces.
// CR, LF and CR LF each end a line.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  // The next field. Throws FileFault when the text is already at its end.
  std::string ReadField();

 private:
  void SkipDelimiter();
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The user's settings folder, ending with "/": "rational-hydrograph/" in $XDG_CONFIG_HOME when
// that is an absolute path, else in $HOME/.config. "" when neither gives a folder. Either
// argument may be null (the variable is not set).
std::string UserSettingsDir(const char* xdgConfigHome, const char* home);

// The settings file that is written back: the user's when there is a user settings folder,
// otherwise the program folder's.
std::string SettingsPath(const Init& state);

// The program folder's settings file, the shipped default.
std::string DefaultSettingsPath(const Init& state);

// Reads the settings and keeps the third field in ReportPath: from the user's file when it can be
// read and holds three fields, otherwise from the program folder's file. When that is missing too,
// or holds fewer than three fields, FileFault is raised.
void ReadSettings(Init& state, FileSystem& files);

// When the HEC-1 switch is on, replaces the settings file (SettingsPath) with the two heading
// lines and ReportPath (quoted when it holds a comma or leading or trailing spaces, so it reads
// back the same), creating the user settings folder first when it is missing. Does nothing when
// the switch is off. FileFault when the folder cannot be made or the file cannot be written.
void WriteSettings(const Init& state, FileSystem& files);

// The text WriteSettings writes for `reportPath`.
std::string SettingsText(const std::string& reportPath);

}  // namespace rh
