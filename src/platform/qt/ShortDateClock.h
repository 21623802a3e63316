// Today's date in the system's short date form.
#pragma once

#include "platform/Clock.h"

namespace rh::qt {

class ShortDateClock final : public Clock {
 public:
  std::string ShortDate() override;
};

}  // namespace rh::qt
