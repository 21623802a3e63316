#include "platform/qt/QtClock.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace rh {

std::string QtClock::ShortDate() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::int64_t QtClock::UtcSeconds() {
  return QDateTime::currentSecsSinceEpoch();
}

char SystemDecimalPoint() {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() > 0x20 && point.at(0).unicode() < 0x7F)
    return static_cast<char>(point.at(0).unicode());
  return '.';
}

}  // namespace rh
