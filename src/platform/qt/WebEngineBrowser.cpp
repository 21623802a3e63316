// The browser engine module, loaded by the program the first time the web page screen opens so
// that start-up never maps or starts the engine. Test programs never load it.
#include <QChildEvent>
#include <QKeyEvent>
#include <QUrl>
#include <QWebEngineView>

#include "platform/qt/Browser.h"

namespace {

// Leaves Escape to the window that holds the browser. The page is drawn by a widget of the engine's
// own, made when the first page loads, which would claim every key for the page; its claim on
// Escape (the shortcut override) is turned down here, so the window's Escape shortcut closes it.
class EscapeForTheWindow final : public QObject {
 public:
  explicit EscapeForTheWindow(QObject* parent) : QObject(parent) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded) {
      static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    } else if (event->type() == QEvent::ShortcutOverride &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      event->ignore();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

class WebEngineBrowser final : public rh::qt::Browser {
 public:
  explicit WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {
    auto* escape = new EscapeForTheWindow(view_);
    view_->installEventFilter(escape);
    for (QObject* child : view_->children())
      child->installEventFilter(escape);
  }
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
