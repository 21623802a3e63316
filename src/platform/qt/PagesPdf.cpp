#include "platform/qt/PagesPdf.h"

#include <algorithm>
#include <iterator>

namespace rh::qt {

PageSize PageSizeOf(const QLocale& locale) {
  static constexpr QLocale::Territory kLetter[] = {
      QLocale::UnitedStates, QLocale::Canada,           QLocale::Mexico,    QLocale::Philippines,
      QLocale::Chile,        QLocale::Colombia,         QLocale::CostaRica, QLocale::ElSalvador,
      QLocale::Guatemala,    QLocale::Nicaragua,        QLocale::Panama,    QLocale::PuertoRico,
      QLocale::Venezuela,    QLocale::DominicanRepublic};
  const QLocale::Territory where = locale.territory();
  return std::find(std::begin(kLetter), std::end(kLetter), where) != std::end(kLetter)
             ? PageSize::Letter
             : PageSize::A4;
}

}  // namespace rh::qt
