// The command-line companion's work once its arguments are read: one basin, several return periods
// of one basin, or a table of basins, through the prepared run and the run step, with the text
// that goes to standard output.
#pragma once

#include <iosfwd>

#include "app/companion/CompanionOptions.h"
#include "core/Faults.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/OutputDevices.h"

namespace rh {

inline constexpr const char* kCompanionName = "rational-hydrograph-cli";

// Exit statuses besides those of a refusal (kExitRefused: entries or a table refused, the warning
// goes to stderr), a fault (kExitFault: arithmetic, subscript, file or printer) and a usage error
// (kExitUsage: the command line asks for what cannot be done), which ReportFault gives.
enum ExitStatus : int {
  kExitOk = 0,
  kExitSomeRowsFailed = 4,  // a batch ran, but some of its rows failed
};

// The services a companion run writes through, built once by the program.
struct CompanionServices {
  FileSystem& files;       // one basin's files, each flushed to the disk
  FileSystem& batchFiles;  // a batch's files, flushed once at the end
  Clock& clock;
  OutputDevices& devices;  // printer, PDF and PNG
};

// Runs what `options` ask for. Results go to `out` (the listing, the CSV table, the check; the
// batch's tally) only once every requested file is written; refusals and faults go to `err` and
// end the run with their exit status. UsageError reaches the caller.
int RunCompanion(const CompanionOptions& options, const CompanionServices& services,
                 std::ostream& out, std::ostream& err);

}  // namespace rh
