// The study window of a run, titled "Hydrograph Plot": the chart of the run drawn at the window's
// size beside a summary of its figures and check, with the study's own choices (storm, return
// periods, peak, pond, project details) and the files it saves (picture, study document, HEC-1
// deck). It is not modal: the results list stays usable beside it. Its runs are its own: the
// results screen, its report, its table and its deck keep the run Generate made.
#pragma once

#include <memory>
#include <vector>

#include "app/run/PreparedRun.h"
#include "app/run/StudyRuns.h"
#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace rh::ui {
class StudyChartView;
}

namespace rh::ui {

class PlotWindow : public Form {
  Q_OBJECT

 public:
  // The study of the run made from `entries` with `choices` (the run's own, those of Generate).
  PlotWindow(UiContext& context, QWidget* owner, RunEntries entries, const RunChoices& choices);
  ~PlotWindow() override;

  // Centres the window, runs the study with the run's choices and draws it. Raises what the runs
  // and the chart raise (ArithmeticFault when the run cannot be charted); the window is then not
  // shown.
  void OnLoad() override;

  // The choices. Each reruns the entries and redraws; a choice the run cannot take is refused in
  // the program's warning (naming the file and line) and the study stays as it was.
  void OnStormChosen(int index);  // 0: the county chart; 1: the rainfall table opened last
  void OnReturnPeriodsChecked();  // the table's return periods checked in the list
  void OnPeakChosen(int index);   // 0: the peak as typed; 1: from the chart
  void OnPondChosen(int index);   // 0: no pond; 1: the pond table opened last
  void OnOpenRainfall();          // "Open Rainfall Table"
  void OnOpenPond();              // "Open Pond Table"
  void OnProjectDetails();        // "Project Details...": the details dialog, modal
  void OnOpenStudy();             // "Open Study...": a study file in a study window of its own

  // "Save Image...": the 1600 x 900 chart as the file the user names, PNG or SVG by its extension.
  void OnSaveImage();
  void OnCopyImage();  // "Copy Image": the 1600 x 900 chart on the clipboard
  void OnSaveStudy();  // "Save Study PDF...": the study document
  // "Save HEC-1 Deck...": the deck of the study's run, with the HEC-1 tail of ten zeros; with
  // several return periods the user picks one first.
  void OnSaveDeck();
  void OnClose();  // "Close"

 private:
  // Runs `next`; when it runs, it becomes the study's choices and the window shows it. False when
  // it was refused or faulted (and reported).
  bool Rerun(const StudyChoices& next);
  void ShowChoices();  // the controls from the choices
  void ShowSummary();  // the summary and check from the runs
  // A study of one storm becomes the main screen's storm and pond for its next run; the note
  // says when the results screen shows another run than the study.
  void FollowOnMainScreen();

  UiContext& context_;
  const RunEntries entries_;
  StudyChoices choices_;
  std::vector<StudyRun> runs_;
  // The storms of the rainfall table and the pond opened last (or the run's): picked again after
  // the county chart or "no pond" were chosen.
  std::vector<std::shared_ptr<const TableRainfall>> tableStorms_;
  std::vector<std::size_t> tablePicked_;
  std::shared_ptr<const TablePond> pond_;
  std::string deckPath_;  // the deck the run wrote ("" for none): no save may replace it
  // The storm and pond of the run the results screen shows.
  std::shared_ptr<const TableRainfall> resultsStorm_;
  std::shared_ptr<const TablePond> resultsPond_;

  StudyChartView* chart_;
  QComboBox* stormBox_;
  QListWidget* periodsList_;
  QComboBox* peakBox_;
  QComboBox* pondBox_;
  QTableWidget* summary_;
  QLabel* checks_;
  QLabel* resultsNote_;
};

}  // namespace rh::ui
