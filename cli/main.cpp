#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "platform/ModuleDevices.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Printing, PDF reports and PNG charts load their Qt libraries only when a run asks for them.
  rh::ModuleDevices devices(rh::DevicesModuleCandidates(RH_DEVICES_MODULE_NAME));
  return rh::cli::Run(args, std::cout, std::cerr, devices);
}
