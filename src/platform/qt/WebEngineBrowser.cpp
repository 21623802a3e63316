// The browser engine, linked into the program only (never into the test programs). Loading this
// file's object installs the engine as the web page screen's browser before main() runs; the
// engine itself starts only when the first page is opened.
#include <unistd.h>

#include <QCoreApplication>
#include <QUrl>
#include <QWebEngineView>

#include "platform/qt/Browser.h"

namespace rh::qt {

namespace {

class WebEngineBrowser final : public Browser {
 public:
  explicit WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {}
  QWidget* Widget() override { return view_; }
  void Navigate(const std::string& address) override {
    view_->load(QUrl(QString::fromStdString(WithScheme(address))));
  }

 private:
  QWebEngineView* view_;  // owned by its parent widget
};

std::unique_ptr<Browser> MakeWebEngineBrowser(QWidget* parent) {
  return std::make_unique<WebEngineBrowser>(parent);
}

bool Register() {
  // The engine shares OpenGL contexts with the widgets; this must be set before the application
  // object exists, which is why it happens here, ahead of main().
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // Chromium refuses to start its sandbox for the root user; only then is it switched off.
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  InstallBrowserFactory(MakeWebEngineBrowser);
  return true;
}

[[maybe_unused]] const bool registered = Register();

}  // namespace

}  // namespace rh::qt
