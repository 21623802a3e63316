// Output devices from a module loaded on first use (the companion's printer, PDF and pictures).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ModuleEdge.h"
#include "platform/OutputDevices.h"

namespace rh {

// The name of the module's factory: `OutputDevices* rh_make_output_devices(FaultSlot* slot)`, the
// caller owns the result. No fault leaves the module's side (see ModuleEdge.h): the devices, and
// the jobs they open, leave what they raise in `slot` and return a default value (the factory
// null).
inline constexpr const char* kDevicesModuleSymbol = "rh_make_output_devices";

// Whether this build has a devices module at all. A companion built alone (the CMake option
// RH_COMPANION_ONLY, and so the Windows companion) is compiled with RH_NO_DEVICES: it offers no
// printing, PDF reports or PNG pictures, and its ModuleDevices raise UsageError with
// messages::kDevicesNotOfferedText for each.
constexpr bool DevicesOffered() {
#ifdef RH_NO_DEVICES
  return false;
#else
  return true;
#endif
}

// Forwards to the devices of the first module file of `candidates` that loads, loading it when a
// device is first asked for. When none loads, every device raises PrinterFault saying so.
class ModuleDevices final : public OutputDevices {
 public:
  explicit ModuleDevices(std::vector<std::string> candidates);
  ~ModuleDevices() override;
  ModuleDevices(const ModuleDevices&) = delete;
  ModuleDevices& operator=(const ModuleDevices&) = delete;

  std::unique_ptr<Printer> OpenDefaultPrinter() override { return Loaded().OpenDefaultPrinter(); }
  std::unique_ptr<PdfDocument> OpenPdf() override { return Loaded().OpenPdf(); }
  std::string PngBytes(const Drawing& drawing) override { return Loaded().PngBytes(drawing); }
  PageSize LocalePageSize() override { return Loaded().LocalePageSize(); }

 private:
  OutputDevices& Loaded();
  std::vector<std::string> candidates_;
  FaultSlot fault_;  // what the module's side raised in the last call
  std::unique_ptr<OutputDevices> devices_;
};

// Where the companion looks for the module `fileName`: beside its own executable, then in the
// installed program folder (<prefix>/lib/rational-hydrograph beside <prefix>/bin).
std::vector<std::string> DevicesModuleCandidates(const std::string& fileName);

}  // namespace rh
