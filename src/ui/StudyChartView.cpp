#include "ui/StudyChartView.h"

#include <exception>
#include <utility>

#include <QPainter>
#include <QResizeEvent>

#include "output/StudyDocument.h"
#include "platform/qt/DrawingPainter.h"

namespace rh::ui {

StudyChartView::StudyChartView(const std::vector<StudyRun>& runs, QWidget* parent)
    : QWidget(parent), runs_(&runs) {
  setObjectName(QStringLiteral("Picture1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 180);
}

void StudyChartView::Redraw() {
  Show(StudyChart(*runs_, width(), height()));
}

void StudyChartView::Show(Drawing drawing) {
  drawing_ = std::move(drawing);
  update();
}

void StudyChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  try {
    Redraw();
  } catch (const std::exception&) {
    // The runs were drawn once; a size at which they cannot be drawn shows an empty area.
    drawing_ = Drawing{};
    drawing_.width = width();
    drawing_.height = height();
    update();
  }
}

void StudyChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (drawing_.shapes.empty())
    painter.fillRect(rect(), Qt::white);
  qt::PaintDrawing(painter, drawing_);
}

}  // namespace rh::ui
