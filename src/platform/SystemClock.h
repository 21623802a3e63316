// The host's clock, for the programs' main functions to build once and hand down.
#pragma once

#include <memory>

#include "platform/Clock.h"

namespace rh {

// Today's date in the host's short date form: the C library's locale (LC_TIME) on Linux, the
// user's short date on Windows. Needs no Qt.
std::unique_ptr<Clock> MakeSystemClock();

}  // namespace rh
