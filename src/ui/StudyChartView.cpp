#include "ui/StudyChartView.h"

#include <exception>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "core/Faults.h"
#include "output/ChartReadout.h"
#include "output/Plot.h"
#include "output/StudyDocument.h"
#include "platform/qt/DrawingPainter.h"
#include "ui/FaultBoundary.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

StudyChartView::StudyChartView(const std::vector<StudyRun>& runs, QWidget* parent)
    : QWidget(parent), runs_(&runs) {
  setObjectName(QStringLiteral("Picture1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 180);
}

void StudyChartView::SetRuns(const std::vector<StudyRun>& runs,
                             std::vector<std::optional<double>> allowableCfs) {
  runs_ = &runs;
  allowableCfs_ = std::move(allowableCfs);
}

void StudyChartView::Redraw() {
  // A chart that cannot be drawn has no readout.
  area_.reset();
  if (readout_ != nullptr)
    readout_->clear();
  Show(StudyChart(*runs_, width(), height(), allowableCfs_));
  area_ = StudyChartArea(*runs_, width(), height(), allowableCfs_);
  if (readout_ != nullptr)
    ShowReadout(readoutMinutes_);
}

void StudyChartView::Show(Drawing drawing) {
  drawing_ = std::move(drawing);
  update();
}

QLabel* StudyChartView::AddReadout() {
  readout_ = new QLabel(parentWidget());
  readout_->setObjectName(QStringLiteral("ChartReadout"));
  readout_->setWordWrap(true);
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Two lines kept, so that the chart does not jump as the readout comes and goes.
  readout_->setMinimumHeight(readout_->fontMetrics().lineSpacing() * 2);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  return readout_;
}

void StudyChartView::ShowReadout(std::optional<double> minutes) {
  if (!area_ || runs_->empty())
    minutes.reset();
  readoutMinutes_ = minutes;
  readout_->setText(minutes ? Q(ReadoutText(*runs_, *minutes)) : QString());
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

void StudyChartView::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (readout_ != nullptr && area_)
    ShowReadout(MinutesAtPixel(*area_, event->position().x()));
}

void StudyChartView::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (readout_ != nullptr)
    ShowReadout(std::nullopt);
}

void StudyChartView::keyPressEvent(QKeyEvent* event) {
  const bool later = event->key() == Qt::Key_Right;
  if (readout_ == nullptr || !area_ || runs_->empty() || (!later && event->key() != Qt::Key_Left) ||
      (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  ShowReadout(readoutMinutes_ ? StepReadout(*runs_, *area_, *readoutMinutes_, later) : 0.0);
  event->accept();
}

void CopyChartImage(Prompts& prompts, QWidget* parent, const std::function<Drawing()>& drawing) {
  RunAtBoundary(prompts, parent,
                FaultAnswer{messages::kPlotFaultTitle, messages::kPlotFaultText, {}}, [&] {
                  const Drawing chart = drawing();
                  QImage image(kPlotWidth, kPlotHeight, QImage::Format_ARGB32_Premultiplied);
                  QPainter painter(&image);
                  qt::PaintDrawing(painter, chart);
                  painter.end();
                  QApplication::clipboard()->setImage(image);
                });
}

}  // namespace rh::ui
