#include "platform/qt/ShortDateClock.h"

#include <QDate>
#include <QLocale>

namespace rh::qt {

std::string ShortDateClock::ShortDate() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

}  // namespace rh::qt
