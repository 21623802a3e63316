// Reading small tables of numbers from text files (rainfall and pond tables): lines, their
// comma-separated fields and the numbers in them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Faults.h"

namespace rh::tables {

// A table a run reads, read by `load` before anything is written. A file that cannot be read
// refuses the run as a table that cannot serve does, under the table's `title`, about its `entry`.
template <typename Load>
auto ReadOrRefuse(const char* title, RunEntry entry, const Load& load) {
  try {
    return load();
  } catch (const FileFault& fault) {
    throw Refused(title, fault.what(), entry);
  }
}

// `text` without the spaces and tabs around it.
std::string_view Trim(std::string_view text);

// A number as the tables write it: optional sign, digits with at most one decimal point, optional
// exponent. Nothing for anything else, including "inf", "nan", hexadecimal and values beyond the
// double range.
std::optional<double> Number(std::string_view text);

// True when `text` is written as a number but lies beyond the double range ("1e999", "1e-999").
bool BeyondRange(std::string_view text);

// "1 row", "2 rows".
std::string Count(std::size_t n, const std::string& thing);

// One line of the text that is not blank: its number (from 1), its content without the line end,
// and its fields split at commas, trimmed, without trailing empty ones (at least one is left).
struct Line {
  long Number = 0;
  std::string_view Text;
  std::vector<std::string_view> Fields;
};

// The lines of `text` that are not blank (a gap in their numbers is where blank lines were), which
// may end in LF, CR LF or CR; a UTF-8 byte-order mark at the start is ignored. Blank lines take no
// room, so a file of line ends costs nothing but its own bytes. The lines view `text`, which must
// outlive them.
std::vector<Line> SplitLines(std::string_view text);

}  // namespace rh::tables
