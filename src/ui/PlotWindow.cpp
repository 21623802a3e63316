#include "ui/PlotWindow.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/run/RunBasin.h"
#include "app/run/StudyPdf.h"
#include "app/tables/PondFile.h"
#include "app/window/UserMemory.h"
#include "core/Faults.h"
#include "output/Plot.h"
#include "ui/FaultBoundary.h"
#include "ui/FileDialogs.h"
#include "ui/ProjectDetails.h"
#include "ui/StudyChartView.h"
#include "ui/StudyWindow.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

namespace {

// The window's first size in twips: a 16:9 chart beside the choices, over the summary and
// buttons.
constexpr double kClientWidth = 14400;
constexpr double kClientHeight = 9000;

// The busy cursor while the study runs or renders.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// How the return period list names a storm.
QString PeriodName(const TableRainfall& storm) {
  return storm.Ari.empty() ? QStringLiteral("The table's storm") : Q(storm.Ari + "-year");
}

// A fault in a rerun: the refusal's own warning, or the computation's.
FaultAnswer RunFault(const std::exception& fault) {
  if (KindOf(fault) == FaultKind::Usage)
    return {messages::kRunFaultTitle, {}, {}};
  return {messages::kRunFaultTitle, messages::kRunFaultText, {}};
}

}  // namespace

PlotWindow::PlotWindow(UiContext& context, QWidget* owner, RunEntries entries,
                       const RunChoices& choices)
    : Form(owner, "PlotWindow", kClientWidth, kClientHeight,
           QString::fromLatin1(messages::kPlotTitle)),
      context_(context),
      entries_(std::move(entries)),
      choices_(StudyChoicesOf(choices, context.files)),
      tableStorms_(choices_.Storms),
      tablePicked_(choices_.Picked),
      pond_(choices_.Pond),
      deckPath_(choices.Hec1 ? choices.DeckPath : std::string()),
      resultsStorm_(choices.Rainfall),
      resultsPond_(choices.Pond) {
  chart_ = new StudyChartView(runs_, this);

  // The study's choices, in tab order.
  auto* choicesColumn = new QVBoxLayout;
  const auto caption = [&](const QString& text) {
    auto* label = new QLabel(text, this);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    choicesColumn->addWidget(label);
  };
  const auto button = [&](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  caption(QStringLiteral("Storm"));
  stormBox_ = new QComboBox(this);
  stormBox_->setObjectName(QStringLiteral("StormChoice"));
  choicesColumn->addWidget(stormBox_);
  auto* openRainfall = button("OpenRainfall", QStringLiteral("Open Rainfall Table"));
  choicesColumn->addWidget(openRainfall);
  caption(QStringLiteral("Return periods"));
  periodsList_ = new QListWidget(this);
  periodsList_->setObjectName(QStringLiteral("ReturnPeriods"));
  periodsList_->setMaximumHeight(periodsList_->fontMetrics().lineSpacing() * 7);
  choicesColumn->addWidget(periodsList_);
  caption(QStringLiteral("Peak discharge"));
  peakBox_ = new QComboBox(this);
  peakBox_->setObjectName(QStringLiteral("PeakChoice"));
  peakBox_->addItems({QStringLiteral("As typed"), QStringLiteral("From the chart, C x I(Tc) x A")});
  choicesColumn->addWidget(peakBox_);
  caption(QStringLiteral("Pond"));
  pondBox_ = new QComboBox(this);
  pondBox_->setObjectName(QStringLiteral("PondChoice"));
  choicesColumn->addWidget(pondBox_);
  auto* openPond = button("OpenPond", QStringLiteral("Open Pond Table"));
  choicesColumn->addWidget(openPond);
  choicesColumn->addSpacing(8);
  auto* details = button("ProjectDetails", QStringLiteral("Project Details..."));
  choicesColumn->addWidget(details);
  auto* openStudy = button("OpenStudy", QStringLiteral("Open Study..."));
  choicesColumn->addWidget(openStudy);
  resultsNote_ = new QLabel(this);
  resultsNote_->setObjectName(QStringLiteral("ResultsNote"));
  resultsNote_->setWordWrap(true);
  resultsNote_->hide();
  choicesColumn->addWidget(resultsNote_);
  choicesColumn->addStretch(1);

  summary_ = new QTableWidget(this);
  summary_->setObjectName(QStringLiteral("Summary"));
  summary_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  summary_->verticalHeader()->hide();
  summary_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  summary_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  checks_ = new QLabel(this);
  checks_->setObjectName(QStringLiteral("Check"));
  checks_->setWordWrap(true);
  checks_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  auto* saveImage = button("Command1", QStringLiteral("Save Image..."));
  auto* copyImage = button("CopyImage", QStringLiteral("Copy Image"));
  auto* saveStudy = button("SaveStudy", QStringLiteral("Save Study PDF..."));
  auto* saveDeck = button("SaveDeck", QStringLiteral("Save HEC-1 Deck..."));
  auto* close = button("Command2", QStringLiteral("Close"));
  for (QPushButton* b : {saveImage, copyImage, saveStudy, saveDeck, close})
    buttonRow->addWidget(b);
  buttonRow->addStretch(1);

  auto* grid = new QGridLayout(this);
  grid->addWidget(chart_, 0, 0);
  grid->addLayout(choicesColumn, 0, 1, 2, 1);
  grid->addWidget(summary_, 1, 0);
  grid->addWidget(checks_, 2, 0, 1, 2);
  grid->addLayout(buttonRow, 3, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(0, 1);
  // Smaller than half its first size the chart's labels would crowd each other out.
  setMinimumSize(size() / 2);

  connect(stormBox_, &QComboBox::activated, this, [this](int index) { OnStormChosen(index); });
  connect(openRainfall, &QPushButton::clicked, this, [this] { OnOpenRainfall(); });
  connect(periodsList_, &QListWidget::itemChanged, this, [this] { OnReturnPeriodsChecked(); });
  connect(peakBox_, &QComboBox::activated, this, [this](int index) { OnPeakChosen(index); });
  connect(pondBox_, &QComboBox::activated, this, [this](int index) { OnPondChosen(index); });
  connect(openPond, &QPushButton::clicked, this, [this] { OnOpenPond(); });
  connect(details, &QPushButton::clicked, this, [this] { OnProjectDetails(); });
  connect(openStudy, &QPushButton::clicked, this, [this] { OnOpenStudy(); });
  connect(saveImage, &QPushButton::clicked, this, [this] { OnSaveImage(); });
  connect(copyImage, &QPushButton::clicked, this, [this] { OnCopyImage(); });
  connect(saveStudy, &QPushButton::clicked, this, [this] { OnSaveStudy(); });
  connect(saveDeck, &QPushButton::clicked, this, [this] { OnSaveDeck(); });
  connect(close, &QPushButton::clicked, this, [this] { OnClose(); });
  CloseOnEscape();
}

PlotWindow::~PlotWindow() = default;

void PlotWindow::OnLoad() {
  {
    BusyCursor busy;
    runs_ = RunStudy(entries_, choices_, context_.files);
  }
  ShowChoices();
  ShowSummary();
  CentreOnScreen();
  chart_->Redraw();
}

bool PlotWindow::Rerun(const StudyChoices& next) {
  std::vector<StudyRun> runs;
  Drawing drawing;
  const Outcome outcome = RunAtBoundary(context_.prompts, this, RunFault, [&] {
    BusyCursor busy;
    runs = RunStudy(entries_, next, context_.files);
    // A chart that cannot be drawn faults here; one that can is the one shown.
    drawing = StudyChart(runs, chart_->width(), chart_->height());
  });
  if (outcome == Outcome::Done) {
    choices_ = next;
    runs_ = std::move(runs);
    if (!choices_.Storms.empty()) {
      tableStorms_ = choices_.Storms;
      tablePicked_ = choices_.Picked;
    }
    if (choices_.Pond)
      pond_ = choices_.Pond;
    chart_->Show(std::move(drawing));
    ShowSummary();
    FollowOnMainScreen();
  }
  ShowChoices();
  return outcome == Outcome::Done;
}

void PlotWindow::FollowOnMainScreen() {
  const bool oneStorm = choices_.Storms.empty() || choices_.Picked.size() == 1;
  const std::shared_ptr<const TableRainfall> storm =
      choices_.Storms.empty() || choices_.Picked.empty() ? nullptr
                                                         : choices_.Storms[choices_.Picked.front()];
  if (oneStorm) {
    RunChoices& next = context_.state.Choices;
    next.Rainfall = storm;
    next.Pond = choices_.Pond;
    next.ChartPeak = choices_.ChartPeak;
  }
  const bool same = oneStorm && storm == resultsStorm_ && choices_.Pond == resultsPond_;
  QString shown =
      resultsStorm_
          ? Q(resultsStorm_->Ari.empty() ? std::string() : resultsStorm_->Ari + "-year ") +
                QStringLiteral("storm of ") + Q(resultsStorm_->File)
          : QStringLiteral("county chart at P6 ") + Q(TrimSpaces(entries_.SixHourRainfall)) +
                QStringLiteral(" in");
  if (resultsPond_)
    shown += QStringLiteral(", through ") + Q(resultsPond_->File);
  resultsNote_->setText(
      same ? QString()
           : QStringLiteral("The results screen shows the run it was made with: the ") + shown +
                 (oneStorm ? QStringLiteral(". The main screen's next run takes the storm and "
                                            "pond chosen here.")
                           : QStringLiteral(". The main screen runs one storm at a time.")));
  resultsNote_->setVisible(!same);
}

void PlotWindow::ShowChoices() {
  const QSignalBlocker blockStorm(stormBox_);
  const QSignalBlocker blockPeriods(periodsList_);
  const QSignalBlocker blockPond(pondBox_);
  stormBox_->clear();
  stormBox_->addItem(QStringLiteral("County chart"));
  if (!tableStorms_.empty())
    stormBox_->addItem(Q(tableStorms_.front()->File));
  stormBox_->setCurrentIndex(choices_.Storms.empty() ? 0 : 1);

  periodsList_->clear();
  const bool onTable = !choices_.Storms.empty();
  for (std::size_t i = 0; i < tableStorms_.size(); ++i) {
    auto* item = new QListWidgetItem(PeriodName(*tableStorms_[i]), periodsList_);
    const auto& picked = onTable ? choices_.Picked : tablePicked_;
    const bool checked = std::find(picked.begin(), picked.end(), i) != picked.end();
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsSelectable |
                   (onTable ? Qt::ItemIsEnabled : Qt::NoItemFlags));
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  periodsList_->setEnabled(onTable);

  peakBox_->setCurrentIndex(choices_.ChartPeak ? 1 : 0);
  pondBox_->clear();
  pondBox_->addItem(QStringLiteral("No pond"));
  if (pond_)
    pondBox_->addItem(Q(pond_->File));
  pondBox_->setCurrentIndex(choices_.Pond ? 1 : 0);
}

void PlotWindow::ShowSummary() {
  const StudySummary summary = SummaryOf(runs_);
  summary_->clear();
  summary_->setColumnCount(static_cast<int>(summary.Heads.size()));
  summary_->setRowCount(static_cast<int>(summary.Rows.size()));
  QStringList heads;
  for (const std::string& head : summary.Heads)
    heads << Q(head).replace(QStringLiteral(" ("), QStringLiteral("\n("));  // units under names
  summary_->setHorizontalHeaderLabels(heads);
  for (std::size_t row = 0; row < summary.Rows.size(); ++row) {
    for (std::size_t column = 0; column < summary.Rows[row].size(); ++column) {
      auto* cell = new QTableWidgetItem(Q(summary.Rows[row][column]));
      if (column > 0)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      summary_->setItem(static_cast<int>(row), static_cast<int>(column), cell);
    }
  }
  summary_->resizeRowsToContents();
  int height = summary_->horizontalHeader()->sizeHint().height() + 2 * summary_->frameWidth();
  for (int row = 0; row < summary_->rowCount(); ++row)
    height += summary_->rowHeight(row);
  height += summary_->horizontalScrollBar()->sizeHint().height();  // room for it when narrow
  summary_->setFixedHeight(height);
  QStringList checks;
  for (const std::string& check : summary.Checks)
    checks << Q(check);
  checks_->setText(checks.join(QLatin1Char('\n')));
}

void PlotWindow::OnStormChosen(int index) {
  StudyChoices next = choices_;
  next.Storms = index == 0 ? decltype(next.Storms){} : tableStorms_;
  next.Picked = index == 0 ? decltype(next.Picked){} : tablePicked_;
  Rerun(next);
}

void PlotWindow::OnReturnPeriodsChecked() {
  StudyChoices next = choices_;
  next.Picked.clear();
  for (int row = 0; row < periodsList_->count(); ++row) {
    if (periodsList_->item(row)->checkState() == Qt::Checked)
      next.Picked.push_back(static_cast<std::size_t>(row));
  }
  // The study runs at least one storm: the last one stays checked.
  if (next.Picked.empty()) {
    ShowChoices();
    return;
  }
  Rerun(next);
}

void PlotWindow::OnPeakChosen(int index) {
  StudyChoices next = choices_;
  next.ChartPeak = index == 1;
  Rerun(next);
}

void PlotWindow::OnPondChosen(int index) {
  StudyChoices next = choices_;
  next.Pond = index == 0 ? nullptr : pond_;
  Rerun(next);
}

void PlotWindow::OnOpenRainfall() {
  const std::string path = AskOpenPath(context_, this, DialogFolder::OpenedTables,
                                       messages::kRainfallDialogTitle, messages::kRainfallFilter);
  if (path.empty())
    return;
  StudyChoices next = choices_;
  const Outcome read =
      RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kRainfallTableTitle, {}, {}},
                    [&] { next.Storms = TableStorms(context_.files, path, path); });
  if (read != Outcome::Done)
    return;
  next.Picked = CarriedPicks(choices_, next.Storms);
  Rerun(next);
}

void PlotWindow::OnOpenPond() {
  const std::string path = AskOpenPath(context_, this, DialogFolder::OpenedTables,
                                       messages::kPondDialogTitle, messages::kPondFilter);
  if (path.empty())
    return;
  StudyChoices next = choices_;
  if (RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kPondTableTitle, {}, {}},
                    [&] { next.Pond = LoadPond(context_.files, path, path); }) == Outcome::Done)
    Rerun(next);
}

void PlotWindow::OnProjectDetails() {
  ShowModal(new ProjectDetailsForm(context_, this));
}

void PlotWindow::OnSaveImage() {
  const std::string path = AskImagePath(context_, this);
  if (path.empty())
    return;
  if (SaveRefused(context_, this, messages::kImageFaultTitle, {"image", path},
                  runs_.front().Run.Inputs, deckPath_))
    return;
  RunAtBoundary(context_.prompts, this,
                FaultAnswer{messages::kImageFaultTitle, messages::kSaveFaultText, {}}, [&] {
                  context_.files.ReplaceText(
                      path, PictureBytes(StudyChart(runs_, kPlotWidth, kPlotHeight), path,
                                         &context_.devices));
                });
}

void PlotWindow::OnCopyImage() {
  CopyChartImage(context_.prompts, this,
                 [&] { return StudyChart(runs_, kPlotWidth, kPlotHeight); });
}

void PlotWindow::OnOpenStudy() {
  const std::string path = AskOpenPath(context_, this, DialogFolder::StudyFiles,
                                       messages::kOpenStudyDialogTitle, messages::kStudyFileFilter);
  if (path.empty())
    return;
  RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kStudyOpenFaultTitle, {}, {}},
                [&] { ShowModeless(new StudyWindow(context_, this, path, false)); });
}

void PlotWindow::OnSaveStudy() {
  const std::string path =
      AskSavePath(context_, this, DialogFolder::Studies, messages::kStudyDialogTitle, "study.pdf",
                  messages::kPdfFilter);
  if (path.empty() || SaveRefused(context_, this, messages::kStudyFaultTitle, {"study", path},
                                  runs_.front().Run.Inputs, deckPath_))
    return;
  const auto answerFor = [](const std::exception& fault) {
    if (KindOf(fault) == FaultKind::File)
      return FaultAnswer{messages::kStudyFaultTitle, messages::kSaveFaultText, {}};
    return FaultAnswer{messages::kStudyFaultTitle, {}, {}};
  };
  RunAtBoundary(context_.prompts, this, answerFor, [&] {
    BusyCursor busy;
    const Study study = MakeStudy(context_.state.Memory.Project, context_.clock.ShortDate(),
                                  entries_, choices_, runs_);
    context_.files.ReplaceText(path, StudyPdfBytes(study, context_.clock));
  });
}

void PlotWindow::OnSaveDeck() {
  std::size_t picked = 0;
  if (runs_.size() > 1) {
    std::vector<std::string> names;
    for (const StudyRun& r : runs_)
      names.push_back(StormName(r.Run));
    const auto chosen = context_.prompts.Choose(this, messages::kStudyDeckDialogTitle,
                                                messages::kStudyDeckChoiceText, names);
    if (!chosen)
      return;
    picked = *chosen;
  }
  const std::string path =
      AskSavePath(context_, this, DialogFolder::Decks, messages::kStudyDeckDialogTitle,
                  "hydrograph.hc1", messages::kStudyDeckFilter);
  if (path.empty())
    return;
  std::optional<OutputFailure> failure;
  RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kDeckFaultTitle, {}, {}}, [&] {
    BusyCursor busy;
    failure = SaveStudyDeck(entries_, choices_, picked, path,
                            RunServices{context_.files, context_.clock, &context_.devices})
                  .Failure;
  });
  if (failure)
    context_.prompts.Warning(this, messages::kDeckFaultTitle, failure->Message);
}

void PlotWindow::OnClose() {
  Unload();
}

}  // namespace rh::ui
