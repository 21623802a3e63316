// Today's date for the command line's outputs.
#pragma once

#include <ctime>
#include <string>

#include "platform/Clock.h"

namespace rh::cli {

// Today's date in the C library's short date form (%x) for the current locale.
class SystemClock final : public Clock {
 public:
  std::string ShortDate() override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, "%x", &local);
    return std::string(text, size);
  }
};

}  // namespace rh::cli
