#include "GuiApp.h"

#include <QGuiApplication>
#include <cstdlib>

namespace rh::cli {

namespace {
QGuiApplication* application = nullptr;

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}
}  // namespace

void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr)
    return;
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "rational-hydrograph-cli";
  static char* argv[] = {name, nullptr};
  // Never destroyed: Qt's own statics that it uses are torn down at exit in an order a static
  // owner cannot follow. The pointer keeps it reachable, so leak checkers stay quiet.
  application = new QGuiApplication(argc, argv);
}

}  // namespace rh::cli
