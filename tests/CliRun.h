// Runs the command-line companion in the test process.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "platform/FileSystem.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtOutputDevices.h"

namespace rh::test {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome RunCli(const std::vector<std::string>& args) {
  QtOutputDevices devices;  // a Qt application only while a run needs one
  StdFileSystem files;
  StdFileSystem batchFiles(StdFileSystem::Durability::Deferred);
  const std::unique_ptr<Clock> clock = MakeSystemClock();
  std::ostringstream out, err;
  const int status =
      cli::Run(args, out, err, CompanionServices{files, batchFiles, *clock, devices});
  return {status, out.str(), err.str()};
}

}  // namespace rh::test
