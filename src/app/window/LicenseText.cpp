#include "app/window/LicenseText.h"

#include "core/ShownText.h"

namespace rh {

std::vector<std::string> LicenseLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 32) {
      line += c;
    } else if (!line.empty()) {
      lines.push_back(std::move(line));
      line.clear();
    }
  }
  if (!line.empty())
    lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> ReadLicense(FileSystem& files, const std::string& path) {
  bool truncated = false;
  std::string text = files.ReadText(path, kLicenseMostBytes, truncated);
  if (truncated) {
    // The last line read may be cut anywhere: it is left out whole.
    const auto lastBreak = text.find_last_of("\r\n");
    text.erase(lastBreak == std::string::npos ? 0 : lastBreak);
  }
  std::vector<std::string> lines = LicenseLines(text);
  if (truncated) {
    lines.push_back(
        "(The licence text goes on beyond its first MiB, which is all shown here; read " +
        ShownText(path) + " for the rest.)");
  }
  return lines;
}

}  // namespace rh
