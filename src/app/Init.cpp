#include "app/Init.h"

#include "platform/Faults.h"

namespace rh {

void OrdinateArray::ThrowSubscript(long index) {
  throw SubscriptFault("Subscript out of range: ordinate " + std::to_string(index) +
                       " is outside 0.." + std::to_string(kMaxOrdinates) + ".");
}

void InitializeState(Init& state, bool hec1Enabled, const std::string& installDir,
                     const std::string& root) {
  state.Hec1Enabled = hec1Enabled ? kTrue : kFalse;
  state.InstallDir = installDir;
  state.SetupFileName = "Setup.ini";
  state.LicensePath = state.InstallDir + "LICENSE.txt";
  state.LogoPath = state.InstallDir + "ORV.jpg";
  state.MaxOrdinates = kMaxOrdinates;
  state.FilePatterns = {"", "*.hc1", "*.*", "", "", ""};
  state.LastDrive = root;
  state.LastDir = root;
}

}  // namespace rh
