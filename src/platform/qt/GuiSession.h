// A Qt GUI application object for programs that only print: fonts and printers need one, windows
// are never shown.
#pragma once

#include <QtGlobal>
#include <memory>

class QGuiApplication;

namespace rh {

// Creates a QGuiApplication when none exists and destroys it again at the end of the scope. When
// QT_QPA_PLATFORM is not set, Qt's offscreen platform is chosen if the build asks for it
// (RH_OFFSCREEN_PRINT) or no display is available. While the session lasts Qt's debug, info and
// warning notices are dropped.
class GuiSession {
 public:
  GuiSession();
  ~GuiSession();
  GuiSession(const GuiSession&) = delete;
  GuiSession& operator=(const GuiSession&) = delete;

 private:
  int argc_ = 1;
  char name_[32] = "rational-hydrograph";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
  QtMessageHandler previousHandler_ = nullptr;
};

}  // namespace rh
