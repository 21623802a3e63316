// The web page screen: an embedded browser opened on the maker's web site.
#pragma once

#include <memory>

#include "platform/qt/Browser.h"
#include "ui/framework/Forms.h"

namespace rh::ui {

class WebPage : public Form {
  Q_OBJECT

 public:
  // The browser comes from the installed factory; when it cannot be made the screen shows an
  // empty area where the page would be.
  explicit WebPage(QWidget* owner);
  ~WebPage() override;

  // False when there is no browser to embed here: the page is for the desktop's browser instead.
  bool Embeds() const { return embeds_; }

  // Centres the window, then starts loading the maker's web address; faults from here on are
  // ignored.
  void OnLoad() override;
  void OnCancel();  // "Cancel"

 private:
  std::unique_ptr<qt::Browser> browser_;
  bool embeds_ = true;
};

}  // namespace rh::ui
