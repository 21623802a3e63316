// The settings file Setup.ini in the program folder: two heading lines and the HEC-1 report path.
#pragma once

#include <string>
#include <string_view>

#include "app/Init.h"
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

// The path of the settings file.
std::string SettingsPath(const Init& state);

// Reads the settings file and keeps its third field in ReportPath. A missing file, or one with
// fewer than three fields, raises FileFault.
void ReadSettings(Init& state, FileSystem& files);

// When the HEC-1 switch is on, replaces the settings file with the two heading lines and
// ReportPath (quoted when it holds a comma or leading or trailing spaces, so it reads back the
// same). Does nothing when the switch is off.
void WriteSettings(const Init& state, FileSystem& files);

// The text WriteSettings writes for `reportPath`.
std::string SettingsText(const std::string& reportPath);

}  // namespace rh
