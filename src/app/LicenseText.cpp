#include "app/LicenseText.h"

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

}  // namespace rh
