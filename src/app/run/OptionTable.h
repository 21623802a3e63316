// Command-line options as data: the companion and the windowed program each declare theirs in one
// table of this kind, and their usage lines and the nearest-option suggestion come from it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

namespace rh {

enum class Takes { Nothing, Value, OptionalValue };

// How an option is asked for: its name, what it takes, its value's name in the usage and its help
// (lines after the first are indented under it).
struct OptionHelp {
  const char* name;
  Takes takes;
  const char* value;
  const char* help;
};

// One option of a program whose options fill in a `Target`: how it is asked for and what it sets.
template <class Target>
struct Option {
  const char* name;
  Takes takes;
  const char* value;
  const char* help;
  void (*set)(Target&, const std::string& value);

  OptionHelp Help() const { return {name, takes, value, help}; }
};

// The usage lines of `options`, one option a line ("  --name VALUE", its help from `column`).
std::string OptionLines(const std::vector<OptionHelp>& options, std::size_t column);

// The usage lines of a table of options.
template <class Options>
std::string OptionLines(const Options& options, std::size_t column) {
  std::vector<OptionHelp> help;
  for (const auto& option : options)
    help.push_back(option.Help());
  return OptionLines(help, column);
}

// The number of one-character edits between two names.
std::size_t EditDistance(const std::string& a, const std::string& b);

// What an unknown option is told: "unknown option NAME", and the nearest of `names` when one is at
// most two edits away ("; did you mean --tc?").
std::string UnknownOptionText(const std::string& name, const std::vector<const char*>& names);

// The same for a table of options.
template <class Options>
std::string UnknownOptionText(const std::string& name, const Options& options) {
  std::vector<const char*> names;
  for (const auto& option : options)
    names.push_back(option.name);
  return UnknownOptionText(name, names);
}

// The option of `options` called `name`; null for none.
template <class Options>
auto FindOption(const Options& options, const std::string& name)
    -> decltype(&*std::begin(options)) {
  const auto found = std::find_if(std::begin(options), std::end(options),
                                  [&](const auto& o) { return name == o.name; });
  return found == std::end(options) ? nullptr : &*found;
}

// True for an argument that names an option: it starts with --.
bool LooksLikeOption(const std::string& argument);

}  // namespace rh
