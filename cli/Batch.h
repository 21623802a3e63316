// The command line's batch mode: a basin table in, listing files (and decks) and a summary out.
#pragma once

#include <iosfwd>
#include <string>

namespace rh::cli {

struct BatchCommand {
  std::string CsvPath;       // the basin table
  std::string OutDir;        // created when missing
  bool Hec1 = false;         // also write NAME.hc1 decks
  bool SummaryOnly = false;  // no listing files, only summary.csv
};

// Runs the batch; failed rows are reported on `err` as they happen and a one-line tally goes to
// `out`. Returns 0 when every row succeeded, 4 when some failed (or the table has no usable
// header), 3 when the table cannot be read or the folder or summary cannot be written.
int RunBatchCommand(const BatchCommand& command, std::ostream& out, std::ostream& err);

}  // namespace rh::cli
