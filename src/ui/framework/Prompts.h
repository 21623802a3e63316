// Message boxes and file dialogs: the few questions the program puts to the user. Screens reach
// them through this interface so tests can answer them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace rh::ui {

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A modal warning: title, text, exclamation icon and one OK button. Returns when it is closed.
  virtual void Warning(QWidget* parent, const std::string& title, const std::string& text) = 0;

  // A modal question with an exclamation icon and the buttons Yes and No. True for Yes.
  virtual bool Question(QWidget* parent, const std::string& title, const std::string& text) = 0;

  // A modal save-file dialog offering `filter` (e.g. "PDF files (*.pdf)", several joined by ";;")
  // with the file name of `suggestedPath`, in the folder of the last file saved this session
  // (before the first, the folder of `suggestedPath`). The chosen path, with the extension of the
  // chosen filter added when the name has none ("plot3" saved as PNG is "plot3.png"), or "" when
  // the user cancelled.
  std::string SaveFileName(QWidget* parent, const std::string& title,
                           const std::string& suggestedPath, const std::string& filter);

  // A modal open-file dialog offering `filter`, opened at `startPath` (a folder, or a file's name
  // in one). The path of the existing file chosen, or "" when the user cancelled.
  virtual std::string OpenFileName(QWidget* parent, const std::string& title,
                                   const std::string& startPath, const std::string& filter) = 0;

  // A modal choice of one of `items` (at least one), with `text` saying what is chosen. The index
  // of the item chosen, or none when the user cancelled.
  virtual std::optional<std::size_t> Choose(QWidget* parent, const std::string& title,
                                            const std::string& text,
                                            const std::vector<std::string>& items) = 0;

 protected:
  // The dialog itself, opened at `startPath`: the path as chosen or typed ("" when cancelled), and
  // in `chosenFilter` the filter it was chosen under.
  virtual std::string AskSaveFileName(QWidget* parent, const std::string& title,
                                      const std::string& startPath, const std::string& filter,
                                      std::string& chosenFilter) = 0;

 private:
  std::string lastFolder_;  // of the last file chosen in a save dialog; "" before the first
};

// The real message boxes and file dialogs. The end-to-end test's script (Automation.h) may answer
// the file dialogs and the choice in the user's place.
class QtPrompts final : public Prompts {
 public:
  void Warning(QWidget* parent, const std::string& title, const std::string& text) override;
  bool Question(QWidget* parent, const std::string& title, const std::string& text) override;
  std::string OpenFileName(QWidget* parent, const std::string& title, const std::string& startPath,
                           const std::string& filter) override;
  std::optional<std::size_t> Choose(QWidget* parent, const std::string& title,
                                    const std::string& text,
                                    const std::vector<std::string>& items) override;

 protected:
  std::string AskSaveFileName(QWidget* parent, const std::string& title,
                              const std::string& startPath, const std::string& filter,
                              std::string& chosenFilter) override;
};

}  // namespace rh::ui
