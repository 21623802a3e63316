#include "platform/SystemClock.h"

#include <ctime>

// newlocale and strftime_l are POSIX and only <locale.h> declares them.
#include <locale.h>  // NOLINT(modernize-deprecated-headers)

namespace rh {

namespace {

// The date in the short form of the user's LC_TIME locale (strftime's %x), read through a locale
// object of its own so the process's global locale stays as it is.
class PosixClock final : public Clock {
 public:
  std::string ShortDate() override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::size_t size = 0;
    if (locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr))) {
      size = strftime_l(text, sizeof text, "%x", &local, user);
      freelocale(user);
    } else {
      size = std::strftime(text, sizeof text, "%x", &local);
    }
    return std::string(text, size);
  }
  std::int64_t UtcSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
  return std::make_unique<PosixClock>();
}

}  // namespace rh
