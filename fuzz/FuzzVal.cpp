// Val over arbitrary entry text: a number or an overflow fault, never a crash.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/tables/Val.h"
#include "core/Faults.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const double value = rh::Val(text);
    if (!std::isfinite(value))
      __builtin_trap();  // Val never hands a NaN or infinity to the run inputs
  } catch (const rh::ArithmeticFault&) {
  }
  return 0;
}
