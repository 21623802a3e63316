// The study window of a study file (.rhstudy): the existing and proposed basins' entries and the
// criteria beside the chart of the routed storms, the criteria table with PASS or FAIL under
// them, and the study file's own commands (open, save, save as, the study document). Every change
// reruns the study as the user types; the results stay those of the last entries that ran while
// an entry is refused, and the refusal sits beside the entry it names.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/window/StudyEdit.h"
#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace rh::ui {

class PondEditor;
class StudyChartView;

class StudyWindow : public Form {
  Q_OBJECT

 public:
  // The window over the study file at `path` (read and run in OnLoad). With `endsProgram`,
  // closing the window ends the program: it was opened without the method screens.
  StudyWindow(UiContext& context, QWidget* owner, std::string path, bool endsProgram);
  ~StudyWindow() override;

  // Reads and runs the study file and shows it. Raises what StudyEdit raises; the window is then
  // not shown.
  void OnLoad() override;

  void OnEntryEdited();     // any basin or criterion entry: rerun and show
  void OnPeriodsChecked();  // the return periods ticked in the storm's list: rerun and show
  void OnOpenRainfall();    // "Open Rainfall Table...": the study's storms from another table
  void OnPondEdited();      // any edit in the pond editor: rerun and show
  void OnPondReplaced(bool designed);  // "New Pond" (designed) or "Remove Pond": rerun and show
  void OnSizingEdited();               // the sizing's outlet, dimension or range: rerun and show
  void OnOpenStudy();     // "Open Study...": another study file, after asking about changes
  bool OnSaveStudy();     // "Save Study": over its file; false when it was not saved
  bool OnSaveStudyAs();   // "Save Study As...": under a name the user gives
  void OnSaveStudyPdf();  // "Save Study PDF...": the study document
  void OnSaveImage();     // "Save Image...": the chart as PNG or SVG
  void OnCopyImage();     // "Copy Image": the chart to the clipboard
  void OnClose();         // "Close", after asking about unsaved changes
  void CloseBox() override;

 private:
  // True when there are no unsaved changes, or the user saved them or chose to drop them.
  bool ChangesSettled();
  // Replaces the study with the one at `path`; false (and reported) when it cannot be opened.
  bool Open(const std::string& path);
  void ShowStudy();        // the entries and results from the study
  void ShowStorm();        // the storm's choice, its rainfall and the return periods
  void ShowResults();      // the chart, criteria table and verdict of the last run
  void RerunAndShow();     // runs the entries; a refusal is shown beside what it names
  void ShowPond();         // the pond editor, or why there is none to edit
  void ShowSizeDevices();  // the pond's outlets as the sizing's choices

  UiContext& context_;
  std::string path_;
  bool endsProgram_;
  std::unique_ptr<StudyEdit> edit_;

  StudyChartView* chart_;
  // The basins' entries and their messages: [0] the proposed basin, [1] the existing one.
  std::array<std::array<QLineEdit*, kBasinEntries>, 2> entries_{};
  std::array<std::array<QLabel*, kBasinEntries>, 2> entryMessages_{};
  std::array<QLineEdit*, kCriterionEntries> criteria_{};
  std::array<QLabel*, kCriterionEntries> criterionMessages_{};
  QComboBox* stormChoice_;
  QFormLayout* p6Form_;
  QLineEdit* p6_ = nullptr;
  QLabel* p6Message_ = nullptr;
  QListWidget* periods_;
  PondEditor* pond_;
  QComboBox* sizeDevice_;
  QComboBox* sizeDimension_;
  QLineEdit* sizeMin_;
  QLineEdit* sizeMax_;
  QLabel* sizeMessage_;
  QLabel* sizeResult_;
  QLabel* message_;
  QLabel* verdict_;
  QPlainTextEdit* table_;
};

}  // namespace rh::ui
