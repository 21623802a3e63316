#include "app/tables/TableText.h"

#include <cctype>
#include <charconv>
#include <system_error>

#include "core/NumberChars.h"

namespace rh::tables {

namespace {

// The text from_chars reads for a number as the tables write it (it takes no "+"); nothing when
// the text does not start like one.
std::optional<std::string_view> NumberText(std::string_view text) {
  std::string_view magnitude = text;
  const bool plus = !magnitude.empty() && magnitude.front() == '+';
  if (plus || (!magnitude.empty() && magnitude.front() == '-'))
    magnitude.remove_prefix(1);
  if (magnitude.empty() ||
      !(std::isdigit(static_cast<unsigned char>(magnitude.front())) || magnitude.front() == '.'))
    return std::nullopt;
  return plus ? magnitude : text;
}

std::errc Parse(std::string_view number, double& value) {
  const auto [end, error] = FromChars(number.data(), number.data() + number.size(), value);
  if (error == std::errc() && end != number.data() + number.size())
    return std::errc::invalid_argument;
  return error;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && space(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && space(text.back()))
    text.remove_suffix(1);
  return text;
}

std::optional<double> Number(std::string_view text) {
  const std::optional<std::string_view> number = NumberText(text);
  double value = 0;
  if (!number || Parse(*number, value) != std::errc())
    return std::nullopt;
  return value;
}

bool BeyondRange(std::string_view text) {
  const std::optional<std::string_view> number = NumberText(text);
  double value = 0;
  return number && Parse(*number, value) == std::errc::result_out_of_range;
}

std::string Count(std::size_t n, const std::string& thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::vector<Line> SplitLines(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());
  std::vector<Line> lines;
  std::vector<std::string_view> fields;  // of the line at hand, reused
  long number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos)
      end = text.size();
    ++number;
    const std::string_view lineText = text.substr(pos, end - pos);
    fields.clear();
    for (std::size_t start = 0;;) {
      const std::size_t comma = lineText.find(',', start);
      fields.push_back(Trim(lineText.substr(start, comma - start)));
      if (comma == std::string_view::npos)
        break;
      start = comma + 1;
    }
    while (!fields.empty() && fields.back().empty())
      fields.pop_back();
    if (!fields.empty())
      lines.push_back({number, lineText, fields});
    pos = end;
    if (pos < text.size() && text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
      ++pos;
    if (pos < text.size())
      ++pos;
  }
  return lines;
}

}  // namespace rh::tables
