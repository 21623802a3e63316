// The command-line companion's arguments: one table of options, read into the companion's options
// and handed on to the companion's run.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/companion/Companion.h"

namespace rh::cli {

// Runs the companion on `args` (without the program name), writing results to `out` and
// messages to `err`, through `services`. Returns the exit status.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const CompanionServices& services);

}  // namespace rh::cli
