// The clock and number settings of the host, through Qt's view of the system locale.
#pragma once

#include "platform/Clock.h"

namespace rh {

// Today's date in the system locale's short date form.
class QtClock final : public Clock {
 public:
  std::string ShortDate() override;
  std::int64_t UtcSeconds() override;
};

// The decimal separator of the system's number settings, for outputs people read (the printed
// report). A separator that is not a single ASCII character falls back to ".".
char SystemDecimalPoint();

}  // namespace rh
