// The program's texts are UTF-8 std::strings; Qt's widgets take QStrings.
#pragma once

#include <QString>
#include <string>

namespace rh::ui {

inline QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace rh::ui
