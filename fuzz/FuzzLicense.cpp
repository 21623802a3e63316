// The licence viewer's line splitting over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/window/LicenseText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t kept = 0;
  for (const std::string& line : rh::LicenseLines(text)) {
    if (line.empty())
      __builtin_trap();  // empty lines are never listed
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 32)
        __builtin_trap();  // control characters end lines, they never show
    }
    kept += line.size();
  }
  if (kept > size)
    __builtin_trap();
  return 0;
}
