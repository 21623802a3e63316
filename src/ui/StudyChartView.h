// The drawing area of a study window: the chart of the study's runs at the area's own size,
// drawn again whenever that size changes.
#pragma once

#include <vector>

#include <QWidget>

#include "output/StudyDocument.h"
#include "platform/Drawing.h"

namespace rh::ui {

class StudyChartView final : public QWidget {
 public:
  // The chart of `runs`, which the window keeps (and may point elsewhere with SetRuns).
  StudyChartView(const std::vector<StudyRun>& runs, QWidget* parent);

  void SetRuns(const std::vector<StudyRun>& runs) { runs_ = &runs; }
  // The chart at the current size. ArithmeticFault when the runs' ranges are not numbers.
  void Redraw();
  // Shows `drawing`, a chart of the runs already made at the current size.
  void Show(Drawing drawing);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  const std::vector<StudyRun>* runs_;
  Drawing drawing_;
};

}  // namespace rh::ui
