// Message boxes and file dialogs: the few questions the program puts to the user. Screens reach
// them through this interface so tests can answer them.
#pragma once

#include <string>

class QWidget;

namespace rh::ui {

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A modal warning: title, text, exclamation icon and one OK button. Returns when it is closed.
  virtual void Warning(QWidget* parent, const std::string& title, const std::string& text) = 0;

  // A modal question with an exclamation icon and the buttons Yes and No. True for Yes.
  virtual bool Question(QWidget* parent, const std::string& title, const std::string& text) = 0;

  // A modal save-file dialog starting at `suggestedPath`, offering `filter` (e.g. "PDF files
  // (*.pdf)"). The chosen path, or "" when the user cancelled.
  virtual std::string SaveFileName(QWidget* parent, const std::string& title,
                                   const std::string& suggestedPath, const std::string& filter) = 0;
};

// The real message boxes and file dialog.
class QtPrompts final : public Prompts {
 public:
  void Warning(QWidget* parent, const std::string& title, const std::string& text) override;
  bool Question(QWidget* parent, const std::string& title, const std::string& text) override;
  std::string SaveFileName(QWidget* parent, const std::string& title,
                           const std::string& suggestedPath, const std::string& filter) override;
};

}  // namespace rh::ui
