// Runs the command-line companion in the test process.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace rh::test {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome RunCli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = cli::Run(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace rh::test
