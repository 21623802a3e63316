// The devices of a companion built without the devices module (RH_NO_DEVICES, the Windows
// companion): none. Asking for a print job, a PDF report or a PNG picture is a usage error.
#include "core/Faults.h"
#include "platform/ModuleDevices.h"

namespace rh {

ModuleDevices::ModuleDevices(std::vector<std::string> candidates)
    : candidates_(std::move(candidates)) {}

ModuleDevices::~ModuleDevices() = default;

OutputDevices& ModuleDevices::Loaded() {
  throw UsageError(messages::kDevicesNotOfferedText);
}

std::vector<std::string> DevicesModuleCandidates(const std::string& /*fileName*/) {
  return {};
}

}  // namespace rh
