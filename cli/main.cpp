#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Cli.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/ModuleDevices.h"
#include "platform/SystemClock.h"
#include "platform/WriteCleanup.h"

int main(int argc, char** argv) {
  // Interrupted (Ctrl+C, kill), the companion removes the temporary files of the writes in flight.
  rh::InstallWriteSignalCleanup();
  const std::vector<std::string> args = rh::CommandArguments(argc, argv);
  rh::StdFileSystem files;
  rh::StdFileSystem batchFiles(rh::StdFileSystem::Durability::Deferred);
  const std::unique_ptr<rh::Clock> clock = rh::MakeSystemClock();
  // Printing, PDF reports and PNG charts load their Qt libraries only when a run asks for them.
  rh::ModuleDevices devices(rh::DevicesModuleCandidates(RH_DEVICES_MODULE_NAME));
  return rh::cli::Run(args, std::cout, std::cerr,
                      rh::CompanionServices{files, batchFiles, *clock, devices});
}
