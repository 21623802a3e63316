#include "ui/Generate.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/run/RunBasin.h"
#include "app/window/Maker.h"
#include "core/Faults.h"
#include "output/HydrographTable.h"
#include "output/PrintedReport.h"
#include "output/ResultsListing.h"
#include "ui/FaultBoundary.h"
#include "ui/FileDialogs.h"
#include "ui/PlotWindow.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

namespace {
constexpr FontChoice kListFont{"MS Sans Serif", 12, false};
constexpr FontChoice kCaption{"MS Sans Serif", 8.25, true};

}  // namespace

Generate::Generate(UiContext& context, QWidget* owner, BasinRun run, RunEntries entries,
                   RunChoices choices)
    : Form(owner, "Generate", 7905, 6705,
           QString::fromLatin1(maker::kName) + QStringLiteral(" - Hydrograph Results")),
      context_(context),
      run_(std::move(run)),
      entries_(std::move(entries)),
      choices_(std::move(choices)) {
  auto* cancelButton = AddButton("Command1", QStringLiteral("Cancel"), {2640, 6120, 1095, 375});
  auto* printButton =
      AddButton("Command2", QStringLiteral("Print Report"), {4200, 6120, 1095, 375});
  auto* saveTableButton =
      AddButton("Command3", QStringLiteral("Save Table..."), {1080, 6120, 1095, 375});
  auto* plotButton = AddButton("Command4", QStringLiteral("Plot"), {5760, 6120, 1095, 375});
  resultsList_ = AddListBox("List1", {240, 120, 7335, 4860}, kListFont);
  // Ctrl+A selects every line; Ctrl+C and the context menu copy the whole table.
  resultsList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* copyTable = new QAction(QStringLiteral("Copy Table"), resultsList_);
  copyTable->setObjectName(QStringLiteral("CopyTable"));
  copyTable->setShortcut(QKeySequence::Copy);
  copyTable->setShortcutContext(Qt::WidgetShortcut);
  resultsList_->addAction(copyTable);
  resultsList_->setContextMenuPolicy(Qt::ActionsContextMenu);
  // The list's own Ctrl+C copies the current line only; the table is what people paste.
  resultsList_->installEventFilter(this);
  deckCaption_ = AddLabel("Label1", QStringLiteral("Hec1 Input File Created"),
                          {240, 5520, 2055, 255}, kCaption);
  deckPathBox_ = AddTextBox("Text1", QStringLiteral("Text1"), {2400, 5520, 5175, 285});
  // A read-out, never an entry: greyed on the information background and out of the tab order.
  deckPathBox_->setEnabled(false);
  QPalette readOut = deckPathBox_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    readOut.setColor(group, QPalette::Base, readOut.color(group, QPalette::ToolTipBase));
  deckPathBox_->setPalette(readOut);

  connect(cancelButton, &QPushButton::clicked, this, [this] { OnCancel(); });
  connect(printButton, &QPushButton::clicked, this, [this] { OnPrintReport(); });
  connect(saveTableButton, &QPushButton::clicked, this, [this] { OnSaveTable(); });
  connect(plotButton, &QPushButton::clicked, this, [this] { OnPlot(); });
  connect(copyTable, &QAction::triggered, this, [this] { CopyTable(); });
  CloseOnEscape();
}

void Generate::OnLoad() {
  CentreOnScreen();
  resultsList_->clear();
  for (const std::string& line : BuildResultLines(run_.Run))
    resultsList_->addItem(Q(line));

  const bool on = context_.state.Hec1Enabled != kFalse;
  deckPathBox_->setVisible(on);
  deckCaption_->setVisible(on);
  deckCaption_->setEnabled(on);
  if (on)
    deckPathBox_->setText(Q(run_.DeckPath));
}

void Generate::OnCancel() {
  if (studyWindow_)
    studyWindow_->Unload();
  Unload();
}

void Generate::OnPrintReport() {
  const auto answerFor = [](const std::exception& fault) {
    FaultAnswer answer{messages::kPrintFaultTitle, messages::kPrintFaultText, {}};
    if (KindOf(fault) == FaultKind::Printer)
      answer.offer = messages::kPdfOfferText;
    return answer;
  };
  const Outcome outcome = RunAtBoundary(context_.prompts, this, answerFor, [this] {
    const auto printer = context_.devices.OpenDefaultPrinter();
    PrintReport(run_.Run, run_.DeckPath, *printer, context_.clock.ShortDate());
  });
  if (outcome == Outcome::OfferAccepted)
    SaveReportAsPdf();
}

void Generate::SaveReportAsPdf() {
  const std::string path =
      AskSavePath(context_, this, DialogFolder::Reports, messages::kPdfDialogTitle,
                  "hydrograph.pdf", messages::kPdfFilter);
  if (path.empty())
    return;
  RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kPdfFaultTitle, {}, {}}, [&] {
    context_.files.ReplaceText(path, ReportPdfBytes(run_.Run, run_.DeckPath,
                                                    context_.clock.ShortDate(), &context_.devices));
  });
}

bool Generate::eventFilter(QObject* watched, QEvent* event) {
  if (watched == resultsList_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    CopyTable();
    return true;
  }
  return Form::eventFilter(watched, event);
}

void Generate::CopyTable() {
  QGuiApplication::clipboard()->setText(Q(HydrographTsv(run_.Run)));
}

void Generate::OnSaveTable() {
  const std::string path =
      AskSavePath(context_, this, DialogFolder::Tables, messages::kTableDialogTitle,
                  "hydrograph.csv", messages::kTableFilter);
  if (path.empty() || SaveRefused(context_, this, messages::kTableFaultTitle, {"table", path},
                                  run_.Run.Inputs, run_.DeckPath))
    return;
  RunAtBoundary(context_.prompts, this,
                FaultAnswer{messages::kTableFaultTitle, messages::kSaveFaultText, {}},
                [&] { context_.files.ReplaceText(path, HydrographCsv(run_.Run)); });
}

void Generate::OnPlot() {
  if (studyWindow_) {
    studyWindow_->raise();
    studyWindow_->activateWindow();
    return;
  }
  RunAtBoundary(context_.prompts, this,
                FaultAnswer{messages::kPlotFaultTitle, messages::kPlotFaultText, {}}, [this] {
                  auto* window = new PlotWindow(context_, this, entries_, choices_);
                  studyWindow_ = window;
                  ShowModeless(window);
                });
}

}  // namespace rh::ui
