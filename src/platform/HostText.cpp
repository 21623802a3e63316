#include "platform/HostText.h"

namespace rh {

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
  if (lineEnd == "\n")
    return std::string(text);
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
      out += lineEnd;
    else
      out += text[i];
  }
  return out;
}

std::string HostText(std::string text) {
  if (kHostLineEnd == "\n")
    return text;
  return WithLineEnds(text, kHostLineEnd);
}

}  // namespace rh
