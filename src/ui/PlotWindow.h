// The plot window: the chart of a run drawn at the window's size, redrawn when the window is
// resized, and saved as a PNG or SVG picture of the 1600 x 900 chart.
#pragma once

#include "app/RunBasin.h"
#include "ui/UiContext.h"
#include "ui/framework/Forms.h"

class QPushButton;

namespace rh::ui {

class PlotWindow : public Form {
  Q_OBJECT

 public:
  PlotWindow(UiContext& context, QWidget* owner, Run run);
  ~PlotWindow() override;

  // Centres the window and draws the chart. ArithmeticFault when the run cannot be charted; the
  // window is then not shown.
  void OnLoad() override;

  // "Save Image...": the chart as the file the user names, PNG or SVG by its extension.
  void OnSaveImage();
  void OnClose();  // "Close"

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Chart;

  UiContext& context_;
  const Run run_;
  Chart* chart_;
  QPushButton* saveImageButton_;
  QPushButton* closeButton_;
};

}  // namespace rh::ui
