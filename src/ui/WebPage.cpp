#include "ui/WebPage.h"

#include <QPushButton>
#include <QShortcut>

#include "app/window/Maker.h"
#include "ui/framework/Twips.h"

namespace rh::ui {

WebPage::WebPage(QWidget* owner)
    : Form(owner, "WebPage", 11505, 8430, QString::fromLatin1(maker::kWebAddress)) {
  try {
    browser_ = qt::MakeBrowser(this);
    embeds_ = browser_ != nullptr;
  } catch (...) {
    browser_.reset();  // no browser component: the page area stays empty
  }
  QWidget* browser = browser_ ? browser_->Widget() : nullptr;
  if (browser != nullptr) {
    browser->setObjectName(QStringLiteral("WebBrowser1"));
    browser->setGeometry(ToPixels({120, 120, 11295, 7575}));
  }
  auto* cancelButton = AddButton("Command1", QStringLiteral("Cancel"), {5520, 7920, 1095, 375});
  if (browser != nullptr)
    QWidget::setTabOrder(browser, cancelButton);
  connect(cancelButton, &QPushButton::clicked, this, [this] { OnCancel(); });
  // The browser takes every key typed into the page, so Escape is a shortcut of the whole window:
  // it closes the screen wherever the focus is, as "Cancel" does.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, [this] { CloseBox(); });
}

WebPage::~WebPage() = default;

void WebPage::OnLoad() {
  CentreOnScreen();
  try {
    if (browser_)
      browser_->Navigate(maker::kWebAddress);
  } catch (...) {
    // No network, no engine: the screen shows whatever the browser shows, or nothing.
  }
}

void WebPage::OnCancel() {
  Unload();
}

}  // namespace rh::ui
