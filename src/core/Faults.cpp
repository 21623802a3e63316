#include "core/Faults.h"

#include "core/NumberChars.h"

namespace rh {

std::string FaultNumber(double value) {
  char buffer[32];
  return {buffer, ToChars(buffer, buffer + sizeof buffer, value).ptr};
}

}  // namespace rh
