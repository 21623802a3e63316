// The browser engine module, loaded by the program the first time the web page screen opens so
// that start-up never maps or starts the engine. Test programs never load it.
#include <QUrl>
#include <QWebEngineView>

#include "platform/qt/Browser.h"

namespace {

class WebEngineBrowser final : public rh::qt::Browser {
 public:
  explicit WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {}
  QWidget* Widget() override { return view_; }
  void Navigate(const std::string& address) override {
    view_->load(QUrl(QString::fromStdString(rh::qt::WithScheme(address))));
  }

 private:
  QWebEngineView* view_;  // owned by its parent widget
};

}  // namespace

extern "C" Q_DECL_EXPORT rh::qt::Browser* rh_make_engine_browser(QWidget* parent) {
  return new WebEngineBrowser(parent);
}
