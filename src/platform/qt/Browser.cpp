#include "platform/qt/Browser.h"

#include <QDesktopServices>
#include <QLabel>
#include <QString>
#include <QUrl>
#include <utility>

namespace rh::qt {

namespace {

BrowserFactory& Installed() {
  static BrowserFactory factory = MakeLinkBrowser;
  return factory;
}

class LinkBrowser final : public Browser {
 public:
  explicit LinkBrowser(QWidget* parent) : label_(new QLabel(parent)) {
    label_->setAlignment(Qt::AlignCenter);
    label_->setTextFormat(Qt::RichText);
    label_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label_->setOpenExternalLinks(true);  // opens the system's browser through QDesktopServices
  }
  QWidget* Widget() override { return label_; }
  void Navigate(const std::string& address) override {
    const QString url = QString::fromStdString(WithScheme(address)).toHtmlEscaped();
    const QString text = QString::fromStdString(address).toHtmlEscaped();
    label_->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(url, text));
  }

 private:
  QLabel* label_;  // owned by its parent widget
};

}  // namespace

BrowserFactory InstallBrowserFactory(BrowserFactory factory) {
  return std::exchange(Installed(), std::move(factory));
}

std::unique_ptr<Browser> MakeBrowser(QWidget* parent) {
  return Installed()(parent);
}

std::unique_ptr<Browser> MakeLinkBrowser(QWidget* parent) {
  return std::make_unique<LinkBrowser>(parent);
}

void OpenInDesktopBrowser(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(WithScheme(address))));
}

}  // namespace rh::qt
