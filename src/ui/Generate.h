// The results screen: the list of a run; the user reads it, prints the report as often as wanted,
// saves the hydrograph as a table, copies it to the clipboard, looks at its plot and leaves with
// "Cancel" (or Escape).
#pragma once

#include <QPointer>

#include "app/run/PreparedRun.h"
#include "app/run/RunBasin.h"
#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace rh::ui {

class PlotWindow;

class Generate : public Form {
  Q_OBJECT

 public:
  // The screen of `run`, which the main screen has computed (and whose deck it has written) from
  // `entries` with `choices`; the study window starts from them.
  Generate(UiContext& context, QWidget* owner, BasinRun run, RunEntries entries,
           RunChoices choices);

  // Centres the window, fills the list with the run's lines and sets the HEC-1 controls: with the
  // switch on, the path of the deck under "Hec1 Input File Created".
  void OnLoad() override;

  void OnCancel();       // "Cancel": unloads the screen and its study window
  void OnPrintReport();  // "Print Report": the report on the default printer, or a PDF
  void OnSaveTable();    // "Save Table...": the hydrograph as a CSV file the user names
  // "Plot": the study window beside this screen (not modal); brought to the front when open.
  void OnPlot();
  // Ctrl+C and "Copy Table" on the list: the whole hydrograph on the clipboard as tab-separated
  // rows (HydrographTsv: time and discharge, and the routed outflow, storage and stage when the
  // run has a pond), so it pastes into a spreadsheet as columns.
  void CopyTable();

 protected:
  void CloseBox() override { OnCancel(); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SaveReportAsPdf();

  UiContext& context_;
  const BasinRun run_;
  const RunEntries entries_;
  const RunChoices choices_;
  QPointer<PlotWindow> studyWindow_;
  QListWidget* resultsList_;
  QLabel* deckCaption_;
  QLineEdit* deckPathBox_;
};

}  // namespace rh::ui
