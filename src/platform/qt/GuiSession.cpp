#include "platform/qt/GuiSession.h"

#include <QGuiApplication>
#include <cstdlib>

namespace rh {

namespace {

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// A program that only prints has no window to show Qt's notices in (such as the one about a
// missing XDG_RUNTIME_DIR); faults reach the caller as exceptions, so only critical messages are
// passed on.
void QuietNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    qt_message_output(type, context, message);
}

}  // namespace

GuiSession::GuiSession() {
  if (QGuiApplication::instance() != nullptr)
    return;
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') {
#ifdef RH_OFFSCREEN_PRINT
    constexpr bool kAlwaysOffscreen = true;
#else
    constexpr bool kAlwaysOffscreen = false;
#endif
    if (kAlwaysOffscreen || !HasDisplay())
      qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  previousHandler_ = qInstallMessageHandler(QuietNotices);
  app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

GuiSession::~GuiSession() {
  if (app_) {
    app_.reset();
    qInstallMessageHandler(previousHandler_);
  }
}

}  // namespace rh
