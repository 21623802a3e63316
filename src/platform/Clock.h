// Today's date as the outputs stamp it.
#pragma once

#include <string>

namespace rh {

class Clock {
 public:
  virtual ~Clock() = default;
  // Today's date (no time of day) in the system's short date form.
  virtual std::string ShortDate() = 0;
};

}  // namespace rh
