#include "ui/WebPage.h"

#include <QPushButton>

#include "app/Maker.h"
#include "platform/qt/Twips.h"

namespace rh::ui {

WebPage::WebPage(QWidget* owner)
    : Form(owner, "WebPage", 11505, 8430, QString::fromLatin1(maker::kWebAddress)) {
  try {
    webBrowser1_ = qt::MakeBrowser(this);
  } catch (...) {
    webBrowser1_.reset();  // no browser component: the page area stays empty
  }
  QWidget* browser = webBrowser1_ ? webBrowser1_->Widget() : nullptr;
  if (browser != nullptr) {
    browser->setObjectName(QStringLiteral("WebBrowser1"));
    browser->setGeometry(qt::ToPixels({120, 120, 11295, 7575}));
  }
  auto* command1 = AddButton("Command1", QStringLiteral("Cancel"), {5520, 7920, 1095, 375});
  if (browser != nullptr)
    QWidget::setTabOrder(browser, command1);
  connect(command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

WebPage::~WebPage() = default;

void WebPage::Form_Load() {
  CentreOnScreen();
  try {
    if (webBrowser1_)
      webBrowser1_->Navigate(maker::kWebAddress);
  } catch (...) {
    // No network, no engine: the screen shows whatever the browser shows, or nothing.
  }
}

void WebPage::Command1_Click() {
  Unload();
}

}  // namespace rh::ui
