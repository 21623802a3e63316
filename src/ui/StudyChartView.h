// The drawing area of a study window: the chart of the study's runs at the area's own size,
// drawn again whenever that size changes. With a readout, the time under the pointer and each
// run's flows then are shown in a label beside the chart.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QWidget>

#include "output/Plot.h"
#include "output/StudyDocument.h"
#include "platform/Drawing.h"
#include "ui/framework/Prompts.h"

class QLabel;

namespace rh::ui {

class StudyChartView final : public QWidget {
 public:
  // The chart of `runs`, which the window keeps (and may point elsewhere with SetRuns).
  StudyChartView(const std::vector<StudyRun>& runs, QWidget* parent);

  // The runs, and the allowable release of each run's return period where it has one (a dashed
  // line on the chart).
  void SetRuns(const std::vector<StudyRun>& runs,
               std::vector<std::optional<double>> allowableCfs = {});
  // The chart at the current size. ArithmeticFault when the runs' ranges are not numbers.
  void Redraw();
  // Shows `drawing`, a chart of the runs already made at the current size.
  void Show(Drawing drawing);
  // The readout's label ("ChartReadout"), for the window to place by the chart: filled while the
  // pointer is over the plot and cleared when it leaves the chart; with the chart focused, Left
  // and Right move it an ordinate.
  QLabel* AddReadout();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The readout at `minutes`, or none.
  void ShowReadout(std::optional<double> minutes);

  const std::vector<StudyRun>* runs_;
  std::vector<std::optional<double>> allowableCfs_;
  Drawing drawing_;
  std::optional<PlotArea> area_;  // of the chart drawn by Redraw
  QLabel* readout_ = nullptr;
  std::optional<double> readoutMinutes_;
};

// Puts the chart `drawing` makes (at the plot's full size) on the clipboard as an image; a fault
// in making it is answered in a message box over `parent` and leaves the clipboard as it was.
void CopyChartImage(Prompts& prompts, QWidget* parent, const std::function<Drawing()>& drawing);

}  // namespace rh::ui
