// Scratch folders, file contents and outside commands for tests that touch real files.
#pragma once

#include <sys/wait.h>
#include <cstdlib>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace rh::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end of
// the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rh-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr)
      path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

  // Everything inside, as sorted relative paths.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_))
      names.push_back(std::filesystem::relative(entry.path(), path_).string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Lines of a text, split at "\n" with a trailing "\r" removed.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

struct CommandResult {
  int status = -1;  // exit status, or -1 when the command could not run or was killed
  std::string out;
};

// Runs `command` through the shell and collects its standard output.
inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr)
    return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  if (status != -1 && WIFEXITED(status))
    result.status = WEXITSTATUS(status);
  return result;
}

inline bool HaveCommand(const std::string& name) {
  return RunCommand("command -v " + name + " >/dev/null 2>&1").status == 0;
}

// The text of a PDF file laid out as on the page (poppler's pdftotext -layout); pages are
// separated by form feeds.
inline std::string PdfText(const std::string& path) {
  return RunCommand("pdftotext -layout '" + path + "' - 2>/dev/null").out;
}

// A word on a PDF page and its box, in points from the page's top left corner.
struct PdfWord {
  int page;
  double xMin, yMin, xMax;
  std::string text;
};

// The words of a PDF file in reading order (poppler's pdftotext -bbox).
inline std::vector<PdfWord> PdfWords(const std::string& path) {
  const std::string html = RunCommand("pdftotext -bbox '" + path + "' - 2>/dev/null").out;
  static const std::regex kWord(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
  std::vector<PdfWord> words;
  int page = 0;
  for (const std::string& line : SplitLines(html)) {
    if (line.find("<page ") != std::string::npos)
      ++page;
    std::smatch m;
    if (std::regex_search(line, m, kWord))
      words.push_back({page, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), m[4]});
  }
  return words;
}

// Checks the time/discharge table of a printed report in `words`: one line per ordinate, and on
// every line the discharge item starting 28 columns (of the font's character width) after the
// start of "TIME". Returns a description of the first problem, or nothing.
inline std::string CheckDischargeColumn(const std::vector<PdfWord>& words, long ordinateLines) {
  // Words of one printed line share the page and the top of their boxes.
  std::map<std::pair<int, long>, std::vector<const PdfWord*>> lines;
  for (const PdfWord& word : words)
    lines[{word.page, std::lround(word.yMin * 100)}].push_back(&word);
  long tableLines = 0;
  for (const auto& [where, line] : lines) {
    const PdfWord* time = nullptr;
    const PdfWord* discharge = nullptr;
    bool minutes = false;
    for (const PdfWord* word : line) {
      if (word->text == "TIME" && (time == nullptr || word->xMin < time->xMin))
        time = word;
      minutes = minutes || word->text == "(MIN)";
      if (word->text == "DISCHARGE")
        discharge = word;
    }
    if (time == nullptr || !minutes)
      continue;
    ++tableLines;
    const std::string at =
        "page " + std::to_string(where.first) + " line " + std::to_string(tableLines);
    if (discharge == nullptr)
      return "no discharge on " + at;
    // " DISCHARGE (CFS) = " starts with a space: the word itself starts one column later.
    const double column = (time->xMax - time->xMin) / 4;
    const double columns = (discharge->xMin - time->xMin) / column;
    if (columns < 28.99 || columns > 29.01)
      return "DISCHARGE " + std::to_string(columns) + " columns in on " + at;
  }
  if (tableLines != ordinateLines)
    return std::to_string(tableLines) + " ordinate lines instead of " +
           std::to_string(ordinateLines);
  return {};
}

}  // namespace rh::test
