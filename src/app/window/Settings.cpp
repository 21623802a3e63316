#include "app/window/Settings.h"

#include <system_error>

#include "core/Faults.h"
#include "core/ShownText.h"

namespace rh {

namespace {
constexpr std::string_view kHeading1 =
    "[Orvane Engineering Company - Rational Method Hydrograph Setup.ini]";
constexpr std::string_view kHeading2 = "[*** Hydrograph report Path/Filename ***]";
constexpr std::string_view kLineEnd = "\r\n";

bool LineEnd(char c) {
  return c == '\r' || c == '\n';
}
}  // namespace

void FieldReader::SkipDelimiter() {
  if (AtEnd())
    return;
  // A comma, LF or CR ends the field; CR LF counts as one line end.
  const char c = text_[pos_];
  if (c == ',' || LineEnd(c))
    ++pos_;
  if (c == '\r' && !AtEnd() && text_[pos_] == '\n')
    ++pos_;
}

std::string FieldReader::ReadField() {
  if (AtEnd())
    throw FileFault("Input past end of file.");
  while (!AtEnd() && text_[pos_] == ' ')
    ++pos_;

  std::string field;
  if (!AtEnd() && text_[pos_] == '"') {
    const auto close = text_.find('"', pos_ + 1);
    const auto stop = close == std::string_view::npos ? text_.size() : close;
    field.assign(text_.substr(pos_ + 1, stop - pos_ - 1));
    pos_ = close == std::string_view::npos ? text_.size() : close + 1;
    // Anything between the closing quote and the delimiter is dropped.
    while (!AtEnd() && text_[pos_] != ',' && !LineEnd(text_[pos_]))
      ++pos_;
  } else {
    const auto start = pos_;
    while (!AtEnd() && text_[pos_] != ',' && !LineEnd(text_[pos_]))
      ++pos_;
    field.assign(text_.substr(start, pos_ - start));
    const auto last = field.find_last_not_of(' ');
    field.erase(last == std::string::npos ? 0 : last + 1);
  }
  SkipDelimiter();
  return field;
}

std::string UserSettingsDir(const char* xdgConfigHome, const char* home) {
  std::string base;
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    base = xdgConfigHome;
  } else if (home != nullptr && home[0] != '\0') {
    base = std::string(home);
    if (base.back() != '/')
      base += '/';
    base += ".config";
  } else {
    return {};
  }
  if (base.back() != '/')
    base += '/';
  return base + "rational-hydrograph/";
}

std::string SettingsPath(const Init& state) {
  if (state.UserSettingsDir.empty())
    return DefaultSettingsPath(state);
  return state.UserSettingsDir + state.SetupFileName;
}

std::string DefaultSettingsPath(const Init& state) {
  return state.InstallDir + state.SetupFileName;
}

namespace {

// The report path of the settings file at `path`. FileFault when it cannot be read or holds fewer
// than three fields.
std::string ReportPathIn(FileSystem& files, const std::string& path) {
  const std::string text = files.ReadText(path);
  FieldReader fields(text);
  std::string reportPath;
  try {
    fields.ReadField();
    fields.ReadField();
    reportPath = fields.ReadField();
  } catch (const FileFault&) {
    throw FileFault(messages::kSettingsFileText + ShownText(path) + messages::kSettingsShortText,
                    path);
  }
  // Cut at the NUL, the path would name another file than the one the line holds.
  if (reportPath.find('\0') != std::string::npos) {
    throw FileFault(messages::kSettingsFileText + ShownText(path) + " holds the HEC-1 deck path " +
                        Quoted(reportPath) + messages::kSettingsNulText,
                    path);
  }
  return reportPath;
}

}  // namespace

void ReadSettings(Init& state, FileSystem& files) {
  if (!state.UserSettingsDir.empty()) {
    // A user file that is missing or damaged gives way to the shipped default; the next run with
    // the HEC-1 feature on writes it whole again.
    try {
      state.ReportPath = ReportPathIn(files, SettingsPath(state));
      return;
    } catch (const FileFault&) {
    }
  }
  state.ReportPath = ReportPathIn(files, DefaultSettingsPath(state));
}

std::string SettingsText(const std::string& reportPath) {
  const bool quote =
      reportPath.find(',') != std::string::npos ||
      (!reportPath.empty() && (reportPath.front() == ' ' || reportPath.back() == ' '));
  std::string text;
  text.append(kHeading1).append(kLineEnd);
  text.append(kHeading2).append(kLineEnd);
  if (quote) {
    text.append("\"").append(reportPath).append("\"");
  } else {
    text.append(reportPath);
  }
  text.append(kLineEnd);
  return text;
}

void WriteSettings(const Init& state, FileSystem& files) {
  if (state.Hec1Enabled == kFalse)
    return;
  if (!state.UserSettingsDir.empty())
    files.MakeFolder(state.UserSettingsDir);
  files.ReplaceText(SettingsPath(state), SettingsText(state.ReportPath));
}

}  // namespace rh
