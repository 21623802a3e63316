#include "ui/PlotWindow.h"

#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>

#include "app/RunBasin.h"
#include "core/Faults.h"
#include "core/Messages.h"
#include "output/Plot.h"
#include "platform/qt/DrawingPainter.h"
#include "ui/FaultBoundary.h"
#include "ui/framework/Twips.h"

namespace rh::ui {

namespace {
// Layout in twips: the chart over a row of two buttons, a margin all round.
constexpr double kMargin = 120;
constexpr double kChartWidth = 11760;  // 16:9, the shape of the chart files
constexpr double kChartHeight = 6615;
constexpr double kButtonHeight = 375;
constexpr double kClientWidth = kChartWidth + 2 * kMargin;
constexpr double kClientHeight = kChartHeight + kButtonHeight + 3 * kMargin;
}  // namespace

// The drawing area: the chart at the area's own size, drawn again whenever that size changes.
class PlotWindow::Chart final : public QWidget {
 public:
  Chart(const Run& run, QWidget* parent) : QWidget(parent), run_(run) {
    setObjectName(QStringLiteral("Picture1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  // The chart at the current size. ArithmeticFault when the run's ranges are not numbers.
  void Redraw() {
    drawing_ = PlotDrawing(run_, width(), height());
    update();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    try {
      Redraw();
    } catch (const std::exception&) {
      // The load drew this run once; a size at which it cannot be drawn shows an empty area.
      drawing_ = Drawing{};
      drawing_.width = width();
      drawing_.height = height();
      update();
    }
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    qt::PaintDrawing(painter, drawing_);
  }

 private:
  const Run& run_;
  Drawing drawing_;
};

PlotWindow::PlotWindow(UiContext& context, QWidget* owner, Run run)
    : Form(owner, "PlotWindow", kClientWidth, kClientHeight,
           QString::fromLatin1(messages::kPlotTitle)),
      context_(context),
      run_(std::move(run)) {
  chart_ = new Chart(run_, this);
  chart_->setGeometry(ToPixels({kMargin, kMargin, kChartWidth, kChartHeight}));
  const double buttonTop = kChartHeight + 2 * kMargin;
  saveImageButton_ = AddButton("Command1", QStringLiteral("Save Image..."),
                               {4680, buttonTop, 1335, kButtonHeight});
  closeButton_ =
      AddButton("Command2", QStringLiteral("Close"), {6225, buttonTop, 1095, kButtonHeight});
  // Smaller than half its first size the chart's labels would crowd each other out.
  setMinimumSize(size() / 2);
  connect(saveImageButton_, &QPushButton::clicked, this, [this] { OnSaveImage(); });
  connect(closeButton_, &QPushButton::clicked, this, [this] { OnClose(); });
  CloseOnEscape();
}

PlotWindow::~PlotWindow() = default;

void PlotWindow::OnLoad() {
  CentreOnScreen();
  chart_->Redraw();
}

void PlotWindow::OnClose() {
  Unload();
}

// The chart takes whatever the window gives it; the buttons keep their row under it, centred.
void PlotWindow::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  const int margin = TwipsToPixels(kMargin, ScreenDpiX());
  const int buttonHeight = saveImageButton_->height();
  const int buttonTop = std::max(margin, height() - margin - buttonHeight);
  chart_->setGeometry(margin, margin, std::max(1, width() - 2 * margin),
                      std::max(1, buttonTop - 2 * margin));
  const int gap = closeButton_->x() - saveImageButton_->geometry().right() - 1;
  const int row = saveImageButton_->width() + gap + closeButton_->width();
  const int left = (width() - row) / 2;
  saveImageButton_->move(left, buttonTop);
  closeButton_->move(left + saveImageButton_->width() + gap, buttonTop);
}

void PlotWindow::OnSaveImage() {
  const std::string suggested =
      QDir::home().filePath(QStringLiteral("hydrograph.png")).toStdString();
  const std::string path = context_.prompts.SaveFileName(this, messages::kImageDialogTitle,
                                                         suggested, messages::kImageFilter);
  if (path.empty())
    return;
  if (!PlotFormatOf(path)) {
    context_.prompts.Warning(this, messages::kImageFaultTitle, messages::kImageNameText);
    return;
  }
  RunAtBoundary(
      context_.prompts, this, FaultAnswer{messages::kImageFaultTitle, messages::kSaveFaultText, {}},
      [&] { context_.files.ReplaceText(path, PlotFileBytes(run_, path, &context_.devices)); });
}

}  // namespace rh::ui
