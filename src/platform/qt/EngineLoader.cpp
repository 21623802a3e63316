// Installs the browser engine module as the web page screen's browser, linked into the program
// only. The module is loaded from the program's folder when the first page is opened; without it
// (or without the engine's libraries, which the package only recommends) there is no browser to
// embed, and the page opens in the desktop's own browser.
#include <unistd.h>

#include <QCoreApplication>
#include <QLibrary>

#include "platform/qt/Browser.h"

namespace rh::qt {

namespace {

std::unique_ptr<Browser> MakeEngineBrowser(QWidget* parent) {
  static MakeEngineBrowserFn make = [] {
    QLibrary module(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/" RH_ENGINE_MODULE_NAME));
    return reinterpret_cast<MakeEngineBrowserFn>(module.resolve(kEngineBrowserSymbol));
  }();
  if (make == nullptr)
    return nullptr;
  return std::unique_ptr<Browser>(make(parent));
}

bool Register() {
  // The engine shares OpenGL contexts with the widgets; this must be set before the application
  // object exists, which is why it happens here, ahead of main().
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // Chromium refuses to start its sandbox for the root user; only then is it switched off.
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  InstallBrowserFactory(MakeEngineBrowser);
  return true;
}

[[maybe_unused]] const bool registered = Register();

}  // namespace

}  // namespace rh::qt
