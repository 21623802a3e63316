// Runs the command-line companion in the test process.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "platform/qt/QtOutputDevices.h"

namespace rh::test {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome RunCli(const std::vector<std::string>& args) {
  QtOutputDevices devices;  // a Qt application only while a run needs one
  std::ostringstream out, err;
  const int status = cli::Run(args, out, err, devices);
  return {status, out.str(), err.str()};
}

}  // namespace rh::test
