#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "platform/ModuleDevices.h"
#include "platform/WriteCleanup.h"

int main(int argc, char** argv) {
  // Interrupted (Ctrl+C, kill), the companion removes the temporary files of the writes in flight.
  rh::InstallWriteSignalCleanup();
  std::vector<std::string> args(argv + 1, argv + argc);
  // Printing, PDF reports and PNG charts load their Qt libraries only when a run asks for them.
  rh::ModuleDevices devices(rh::DevicesModuleCandidates(RH_DEVICES_MODULE_NAME));
  return rh::cli::Run(args, std::cout, std::cerr, devices);
}
