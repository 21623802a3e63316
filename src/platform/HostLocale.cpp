#include "platform/HostLocale.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <string_view>

namespace rh {

namespace {

// Territories whose paper is Letter.
constexpr std::string_view kLetterTerritories[] = {"US", "CA", "MX", "PR", "PH", "CL", "CO",
                                                   "CR", "DO", "GT", "NI", "PA", "SV", "VE"};

}  // namespace

PageSize PaperForLocale(const char* lcAll, const char* lcPaper, const char* lang) {
  std::string_view name;
  for (const char* value : {lcAll, lcPaper, lang}) {
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  // language[_TERRITORY][.codeset][@modifier]
  const std::size_t underscore = name.find('_');
  if (underscore == std::string_view::npos)
    return PageSize::Letter;
  std::string_view territory = name.substr(underscore + 1);
  territory = territory.substr(0, territory.find_first_of(".@"));
  const bool letter = std::find(std::begin(kLetterTerritories), std::end(kLetterTerritories),
                                territory) != std::end(kLetterTerritories);
  return letter || territory.empty() ? PageSize::Letter : PageSize::A4;
}

PageSize HostPaper() {
  return PaperForLocale(std::getenv("LC_ALL"), std::getenv("LC_PAPER"), std::getenv("LANG"));
}

std::string LongDateOf(int year, int month, int day) {
  static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
  const char* name = month >= 1 && month <= 12 ? kMonths[month - 1] : "";
  return std::string(name) + " " + std::to_string(day) + ", " + std::to_string(year);
}

std::string LongDate(std::int64_t utcSeconds) {
  const auto when = static_cast<std::time_t>(utcSeconds);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  return LongDateOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace rh
