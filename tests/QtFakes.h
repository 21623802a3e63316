// Recording fakes for the screens: message boxes and file dialogs that tests answer, and the
// services of a screen bundled over in-memory files and recording printers.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "app/window/Init.h"
#include "core/Faults.h"
#include "platform/OutputDevices.h"
#include "platform/PrintTarget.h"
#include "platform/qt/QtOutputDevices.h"
#include "platform/qt/QtPrinter.h"
#include "ui/UiContext.h"
#include "ui/framework/Prompts.h"

namespace rh::test {

// Message boxes that record what they were asked and answer from a queue (Yes when empty).
class RecordingPrompts : public ui::Prompts {
 public:
  struct Shown {
    std::string kind;  // "warning", "question", "save", "open" or "choice"
    std::string title;
    std::string text;   // a file dialog's filter
    std::string start;  // the path a file dialog opened at
  };

  void Warning(QWidget*, const std::string& title, const std::string& text) override {
    shown.push_back({"warning", title, text, {}});
  }
  bool Question(QWidget*, const std::string& title, const std::string& text) override {
    shown.push_back({"question", title, text, {}});
    if (answers.empty())
      return true;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::string AskSaveFileName(QWidget*, const std::string& title, const std::string& startPath,
                              const std::string& filter, std::string& chosenFilter) override {
    shown.push_back({"save", title, filter, startPath});
    chosenFilter = nextSaveFilter;
    return nextSaveName;
  }

  std::string OpenFileName(QWidget*, const std::string& title, const std::string& startPath,
                           const std::string& filter) override {
    shown.push_back({"open", title, filter, startPath});
    return nextOpenName;
  }
  std::optional<std::size_t> Choose(QWidget*, const std::string& title, const std::string& text,
                                    const std::vector<std::string>&) override {
    shown.push_back({"choice", title, text, {}});
    return nextChoice;
  }

  std::vector<Shown> shown;
  std::deque<bool> answers;
  std::string nextOpenName;                   // as chosen in the open dialog; "" cancels it
  std::optional<std::size_t> nextChoice = 0;  // the item chosen; none cancels the choice
  std::string nextSaveName;                   // as typed in the save dialog
  std::string nextSaveFilter;                 // the filter it is chosen under; "" for none reported
};

// Output devices whose printer and PDF jobs are recording printers the session keeps; a PDF's
// bytes are the text of its job.
class RecordingDevices : public OutputDevices {
 public:
  RecordingPrinter printer;  // the default printer; its jobs are kept
  RecordingPrinter pdf;      // PDF documents
  bool noPrinter = false;

  std::unique_ptr<Printer> OpenDefaultPrinter() override {
    if (noPrinter)
      throw PrinterFault(kNoPrinterInstalledText);
    return std::make_unique<Handle>(printer);
  }
  std::unique_ptr<PdfDocument> OpenPdf() override { return std::make_unique<Handle>(pdf); }
  std::string PngBytes(const Drawing& drawing) override {
    return "PNG " + std::to_string(drawing.shapes.size());
  }
  PageSize LocalePageSize() override { return PageSize::A4; }

 private:
  // A handle that forwards to a recording printer.
  class Handle : public PdfDocument {
   public:
    explicit Handle(RecordingPrinter& p) : p_(&p) {}
    void Write(std::string_view t) override { p_->Write(t); }
    void EndLine() override { p_->EndLine(); }
    double CurrentX() const override { return p_->CurrentX(); }
    void MoveToX(double x) override { p_->MoveToX(x); }
    double ColumnWidth() const override { return p_->ColumnWidth(); }
    char DecimalPoint() const override { return p_->DecimalPoint(); }
    void EndDoc() override { p_->EndDoc(); }
    void AbortDoc() override { p_->AbortDoc(); }
    std::string PdfBytes() const override {
      std::string text;
      for (const std::string& line : RecordingPrinter::Texts(p_->jobs.back()))
        text += line + "\n";
      return text;
    }

   private:
    RecordingPrinter* p_;
  };
};

// One screen session's services over in-memory files and recording devices.
struct UiSession {
  Init state;
  MemoryFileSystem files;
  FixedClock clock;
  RecordingPrompts prompts;
  RecordingDevices devices;
  int ends = 0;
  ui::UiContext context{state, files, clock, prompts, devices, [this] { ++ends; }};
};

// Runs `step` on the window named `formName` once it is the active modal window, from inside the
// modal loop that shows it. After `timeoutMs` it closes whatever modal window is open instead, so a
// test that expected another window fails rather than hangs.
// Returns the waiting timer; delete it to stop waiting.
inline QTimer* WhenModal(const QString& formName, const std::function<void(QWidget*)>& step,
                         int timeoutMs = 5000) {
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, formName, step, waited, timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    *waited += 10;
    if ((modal != nullptr && modal->objectName() == formName && modal->isVisible()) ||
        *waited > timeoutMs) {
      timer->stop();
      timer->deleteLater();
      if (*waited <= timeoutMs) {
        step(modal);
      } else if (modal != nullptr) {
        qWarning("Expected %s, closing %s", qPrintable(formName), qPrintable(modal->objectName()));
        modal->close();
      }
    }
  });
  timer->start(10);
  return timer;
}

}  // namespace rh::test
