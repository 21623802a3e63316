#include "app/run/OptionTable.h"

#include "core/Faults.h"
#include "core/ShownText.h"

namespace rh {

std::string OptionLines(const std::vector<OptionHelp>& options, std::size_t column) {
  std::string text;
  for (const OptionHelp& option : options) {
    std::string head = std::string("  ") + option.name;
    if (option.takes != Takes::Nothing)
      head.append(" ").append(option.value);
    head.resize(std::max(column, head.size() + 1), ' ');
    std::string help = option.help;
    for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
      help.insert(at + 1, column, ' ');
    text.append(head).append(help).append("\n");
  }
  return text;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string UnknownOptionText(const std::string& name, const std::vector<const char*>& names) {
  const char* nearest = nullptr;
  std::size_t best = 3;  // at most two edits away
  for (const char* option : names) {
    const std::size_t distance = EditDistance(name, option);
    if (distance < best) {
      best = distance;
      nearest = option;
    }
  }
  return messages::kUnknownOptionText + ShownText(name) +
         (nearest != nullptr ? messages::kNearestOptionText + std::string(nearest) + "?"
                             : std::string());
}

bool LooksLikeOption(const std::string& argument) {
  return argument.rfind("--", 0) == 0;
}

}  // namespace rh
