// Today's date in the user's short date form (Control Panel's Region settings), as Windows
// programs write it.
#include <windows.h>

#include <ctime>

#include "platform/SystemClock.h"
#include "platform/windows/WideText.h"

namespace rh {

namespace {

class WindowsClock final : public Clock {
 public:
  std::string ShortDate() override {
    wchar_t text[80];
    const int length = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr,
                                         text, 80, nullptr);
    if (length <= 1)
      return std::string();
    return windows::Narrow(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
  }
  std::int64_t UtcSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
  return std::make_unique<WindowsClock>();
}

}  // namespace rh
