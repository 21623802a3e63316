#include "platform/ModuleDevices.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "core/Faults.h"

namespace rh {

ModuleDevices::ModuleDevices(std::vector<std::string> candidates)
    : candidates_(std::move(candidates)) {}

// The module stays loaded to the end of the process: Qt's libraries are not made to be unloaded.
ModuleDevices::~ModuleDevices() = default;

OutputDevices& ModuleDevices::Loaded() {
  if (devices_)
    return *devices_;
  std::string why = "no place to look";
  for (const std::string& path : candidates_) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      why = ::dlerror();
      continue;
    }
    using Make = OutputDevices* (*)(FaultSlot*);
    const auto make = reinterpret_cast<Make>(::dlsym(module, kDevicesModuleSymbol));
    if (make == nullptr) {
      why = path + " has no devices in it";
      continue;
    }
    std::unique_ptr<OutputDevices> made(make(&fault_));
    RaiseCarried(fault_);
    if (!made)
      throw PrinterFault(path + " made no devices");
    devices_ = std::make_unique<DevicesThrough<RaiseFrom>>(std::move(made), RaiseFrom{&fault_});
    return *devices_;
  }
  throw PrinterFault(
      "Printing, PDF reports and PNG pictures need the program's devices module, "
      "which could not be loaded (" +
      why + "). Reinstall the program.");
}

std::vector<std::string> DevicesModuleCandidates(const std::string& fileName) {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0)
    return {};
  const std::string exe(buffer, static_cast<std::size_t>(length));
  const std::string dir = exe.substr(0, exe.rfind('/') + 1);
  return {dir + fileName, dir + "../lib/rational-hydrograph/" + fileName};
}

}  // namespace rh
