// The embedded web browser of the web page screen. Only one operation is used: navigate to an
// address. The screen asks for a browser through the installed factory, so the program can embed
// the real engine while tests put in a recording fake and never load the engine.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace rh::qt {

class Browser {
 public:
  virtual ~Browser() = default;

  // The control that shows the page; a child of the parent the browser was made for.
  virtual QWidget* Widget() = 0;

  // Starts loading `address` (a host name may come without a scheme) and returns at once.
  virtual void Navigate(const std::string& address) = 0;
};

// Makes a browser whose control is a child of `parent`; nullptr when there is no browser to embed
// here (pages then open in the desktop's own browser). May throw when the browser component fails.
using BrowserFactory = std::function<std::unique_ptr<Browser>(QWidget* parent)>;

// Replaces the factory the web page screen uses and returns the one it replaced. Until one is
// installed the screen gets a LinkBrowser.
BrowserFactory InstallBrowserFactory(BrowserFactory factory);

// A browser from the installed factory.
std::unique_ptr<Browser> MakeBrowser(QWidget* parent);

// Shows the address as a link that opens the system's own web browser when clicked.
std::unique_ptr<Browser> MakeLinkBrowser(QWidget* parent);

// Opens `address` in the desktop's own web browser and returns at once.
void OpenInDesktopBrowser(const std::string& address);

// The address as the browser engine wants it: "http://" put in front of a bare host name.
inline std::string WithScheme(const std::string& address) {
  return address.find("://") != std::string::npos ? address : "http://" + address;
}

// The entry point of the browser engine module: makes a browser whose control is a child of
// `parent`; the caller owns it.
extern "C" using MakeEngineBrowserFn = Browser * (*)(QWidget * parent);
inline constexpr const char* kEngineBrowserSymbol = "rh_make_engine_browser";

}  // namespace rh::qt
