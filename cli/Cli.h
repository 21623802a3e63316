// The command-line companion: one basin, or a table of basins, through the same run request, engine
// and outputs as the windowed program.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/OutputDevices.h"

namespace rh::cli {

// Exit statuses.
enum ExitStatus : int {
  kOk = 0,
  kRefused = 2,         // the run request refused the entries (the warning goes to stderr)
  kFault = 3,           // arithmetic, subscript, file or printer fault
  kSomeRowsFailed = 4,  // a batch ran, but some of its rows failed
  kUsage = 64,          // unknown option or missing value
};

// Runs the companion on `args` (without the program name), writing results to `out` and
// messages to `err`; PDF reports, print jobs and PNG charts go through `devices`. Returns the exit
// status.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        OutputDevices& devices);

}  // namespace rh::cli
