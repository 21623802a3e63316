#include "ui/StudyWindow.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/run/RunBasin.h"
#include "app/run/StudyCheck.h"
#include "app/run/StudyPdf.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "output/Plot.h"
#include "output/StudyDocument.h"
#include "ui/FaultBoundary.h"
#include "ui/FileDialogs.h"
#include "ui/PondEditor.h"
#include "ui/StudyChartView.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

namespace {

// The window's first size in twips: the chart beside the entries, over the criteria table.
constexpr double kClientWidth = 14400;
constexpr double kClientHeight = 10800;

constexpr std::array<BasinRole, 2> kRoles = {BasinRole::Proposed, BasinRole::Existing};
constexpr std::array<const char*, 2> kRoleNames = {"Proposed", "Existing"};
constexpr std::array<const char*, kBasinEntries> kEntryNames = {"Tc", "Area", "Coefficient",
                                                                "Peak"};
constexpr std::array<const char*, kBasinEntries> kEntryLabels = {
    "Time of Concentration (min)", "Basin Area (acres)", "Runoff Coefficient",
    "Peak Discharge (cfs, or chart)"};
constexpr std::array<const char*, kCriterionEntries> kCriterionNames = {"Freeboard", "Drawdown"};
constexpr std::array<const char*, kCriterionEntries> kCriterionLabels = {"Least freeboard (ft)",
                                                                         "Longest drawdown (h)"};

// The dimensions a sizing varies: what the window calls each, and its key in the study file.
constexpr const char* kSizeDimensions[][2] = {
    {"No sizing", ""},          {"Diameter (in)", "diameter_in"},
    {"Width (in)", "width_in"}, {"Length (ft)", "length_ft"},
    {"Crest (ft)", "crest_ft"}, {"Invert (ft)", "invert_ft"},
    {"Storage scale", "scale"}};

std::string FileFaultLead(const std::exception& fault) {
  return KindOf(fault) == FaultKind::File ? messages::kSaveFaultText : std::string();
}

}  // namespace

StudyWindow::StudyWindow(UiContext& context, QWidget* owner, std::string path, bool endsProgram)
    : Form(owner, "StudyWindow", kClientWidth, kClientHeight, QString()),
      context_(context),
      path_(std::move(path)),
      endsProgram_(endsProgram) {
  static const std::vector<StudyRun> kNoRuns;
  chart_ = new StudyChartView(kNoRuns, this);

  const auto button = [&](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  auto* fileRow = new QHBoxLayout;
  auto* open = button("OpenStudy", QStringLiteral("Open Study..."));
  auto* save = button("SaveStudyFile", QStringLiteral("Save Study"));
  auto* saveAs = button("SaveStudyAs", QStringLiteral("Save Study As..."));
  for (QPushButton* b : {open, save, saveAs})
    fileRow->addWidget(b);
  fileRow->addStretch(1);

  // The entries, in tab order: each basin's four, then the criteria. A message under an entry
  // says why it is refused.
  auto* entriesColumn = new QVBoxLayout;
  // The storm: the county chart at its 6-hour rainfall, or a rainfall table and the return
  // periods ticked from its columns.
  auto* stormGroup = new QGroupBox(QStringLiteral("Storm"), this);
  stormGroup->setObjectName(QStringLiteral("Storm"));
  auto* stormColumn = new QVBoxLayout(stormGroup);
  auto* stormRow = new QHBoxLayout;
  stormChoice_ = new QComboBox(stormGroup);
  stormChoice_->setObjectName(QStringLiteral("StudyStorm"));
  auto* openRainfall = button("StudyOpenRainfall", QStringLiteral("Open Rainfall Table..."));
  stormRow->addWidget(stormChoice_, 1);
  stormRow->addWidget(openRainfall);
  stormColumn->addLayout(stormRow);
  p6Form_ = new QFormLayout;
  stormColumn->addLayout(p6Form_);
  periods_ = new QListWidget(this);
  periods_->setObjectName(QStringLiteral("ReturnPeriods"));
  periods_->setMaximumHeight(periods_->fontMetrics().lineSpacing() * 6);
  stormColumn->addWidget(periods_);
  entriesColumn->addWidget(stormGroup);
  connect(periods_, &QListWidget::itemChanged, this, [this] { OnPeriodsChecked(); });
  connect(stormChoice_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    edit_->UseChart(index == 0);
    ShowStorm();
    RerunAndShow();
  });
  connect(openRainfall, &QPushButton::clicked, this, [this] { OnOpenRainfall(); });
  const auto entryRow = [&](QFormLayout* form, const char* name, const char* label,
                            QLineEdit*& edit, QLabel*& message) {
    edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    message = new QLabel(this);
    message->setObjectName(QString::fromLatin1(name) + QStringLiteral("Message"));
    message->setWordWrap(true);
    message->setStyleSheet(QStringLiteral("color: #a00000"));
    message->hide();
    auto* both = new QVBoxLayout;
    both->setSpacing(2);
    both->addWidget(edit);
    both->addWidget(message);
    auto* caption = new QLabel(QString::fromLatin1(label), this);
    caption->setBuddy(edit);
    form->addRow(caption, both);
    connect(edit, &QLineEdit::textEdited, this, [this] { OnEntryEdited(); });
  };
  entryRow(p6Form_, "StudyP6", "6-hour rainfall (in)", p6_, p6Message_);
  for (std::size_t r = 0; r < kRoles.size(); ++r) {
    auto* group =
        new QGroupBox(QString::fromLatin1(kRoleNames[r]) + QStringLiteral(" basin"), this);
    group->setObjectName(QString::fromLatin1(kRoleNames[r]) + QStringLiteral("Basin"));
    auto* form = new QFormLayout(group);
    for (std::size_t e = 0; e < kBasinEntries; ++e) {
      const std::string name = std::string(kRoleNames[r]) + kEntryNames[e];
      entryRow(form, name.c_str(), kEntryLabels[e], entries_[r][e], entryMessages_[r][e]);
    }
    entriesColumn->addWidget(group);
  }
  auto* criteriaGroup = new QGroupBox(QStringLiteral("Criteria"), this);
  auto* criteriaForm = new QFormLayout(criteriaGroup);
  for (std::size_t c = 0; c < kCriterionEntries; ++c)
    entryRow(criteriaForm, kCriterionNames[c], kCriterionLabels[c], criteria_[c],
             criterionMessages_[c]);
  entriesColumn->addWidget(criteriaGroup);
  entriesColumn->addStretch(1);

  // The pond and its sizing, on a page of their own beside the basins.
  auto* pondColumn = new QVBoxLayout;
  pond_ = new PondEditor(this);
  pond_->changed = [this] { OnPondEdited(); };
  pond_->newPond = [this] { OnPondReplaced(true); };
  pond_->removePond = [this] { OnPondReplaced(false); };
  pondColumn->addWidget(pond_);
  auto* sizeGroup = new QGroupBox(QStringLiteral("Size"), this);
  sizeGroup->setObjectName(QStringLiteral("Size"));
  auto* sizeForm = new QFormLayout(sizeGroup);
  sizeDimension_ = new QComboBox(sizeGroup);
  sizeDimension_->setObjectName(QStringLiteral("SizeDimension"));
  for (const auto& dimension : kSizeDimensions)
    sizeDimension_->addItem(QString::fromLatin1(dimension[0]), QString::fromLatin1(dimension[1]));
  sizeDevice_ = new QComboBox(sizeGroup);
  sizeDevice_->setObjectName(QStringLiteral("SizeDevice"));
  sizeMin_ = new QLineEdit(sizeGroup);
  sizeMin_->setObjectName(QStringLiteral("SizeMin"));
  sizeMax_ = new QLineEdit(sizeGroup);
  sizeMax_->setObjectName(QStringLiteral("SizeMax"));
  const auto sizeRow = [&](const char* label, QWidget* field) {
    auto* caption = new QLabel(QString::fromLatin1(label), sizeGroup);
    caption->setBuddy(field);
    sizeForm->addRow(caption, field);
  };
  sizeRow("&Dimension", sizeDimension_);
  sizeRow("Of the o&utlet", sizeDevice_);
  sizeRow("&From", sizeMin_);
  sizeRow("T&o", sizeMax_);
  sizeMessage_ = new QLabel(sizeGroup);
  sizeMessage_->setObjectName(QStringLiteral("SizeMessage"));
  sizeMessage_->setWordWrap(true);
  sizeMessage_->setStyleSheet(QStringLiteral("color: #a00000"));
  sizeMessage_->hide();
  sizeForm->addRow(sizeMessage_);
  sizeResult_ = new QLabel(sizeGroup);
  sizeResult_->setObjectName(QStringLiteral("SizeResult"));
  sizeResult_->setWordWrap(true);
  sizeForm->addRow(sizeResult_);
  pondColumn->addWidget(sizeGroup);
  pondColumn->addStretch(1);
  connect(sizeDimension_, qOverload<int>(&QComboBox::activated), this,
          [this] { OnSizingEdited(); });
  connect(sizeDevice_, qOverload<int>(&QComboBox::activated), this, [this] { OnSizingEdited(); });
  for (QLineEdit* range : {sizeMin_, sizeMax_})
    connect(range, &QLineEdit::textEdited, this, [this] { OnSizingEdited(); });

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("StudyPages"));
  const auto page = [&](QLayout* column, const QString& title) {
    auto* inner = new QWidget;
    inner->setLayout(column);
    auto* scroll = new QScrollArea(tabs);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(inner);
    tabs->addTab(scroll, title);
  };
  page(entriesColumn, QStringLiteral("&Basins and criteria"));
  page(pondColumn, QStringLiteral("&Pond and sizing"));

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("StudyMessage"));
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #a00000"));
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  verdict_ = new QLabel(this);
  verdict_->setObjectName(QStringLiteral("StudyVerdict"));
  QFont bold = verdict_->font();
  bold.setBold(true);
  verdict_->setFont(bold);
  table_ = new QPlainTextEdit(this);
  table_->setObjectName(QStringLiteral("CriteriaTable"));
  table_->setReadOnly(true);
  table_->setLineWrapMode(QPlainTextEdit::NoWrap);
  table_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  auto* pdf = button("SaveStudy", QStringLiteral("Save Study PDF..."));
  auto* image = button("SaveImage", QStringLiteral("Save Image..."));
  auto* copyImage = button("CopyImage", QStringLiteral("Copy Image"));
  auto* copyTable = button("CopyTable", QStringLiteral("Copy Table"));
  auto* close = button("Command2", QStringLiteral("Close"));
  for (QPushButton* b : {pdf, image, copyImage, copyTable, close})
    buttonRow->addWidget(b);
  buttonRow->addStretch(1);

  auto* grid = new QGridLayout(this);
  grid->addLayout(fileRow, 0, 0, 1, 2);
  auto* chartColumn = new QVBoxLayout;
  chartColumn->addWidget(chart_, 1);
  chartColumn->addWidget(chart_->AddReadout());
  grid->addLayout(chartColumn, 1, 0);
  grid->addWidget(tabs, 1, 1, 3, 1);
  grid->setColumnMinimumWidth(1, 380);
  grid->addWidget(verdict_, 2, 0);
  grid->addWidget(table_, 3, 0);
  grid->addWidget(message_, 4, 0, 1, 2);
  grid->addLayout(buttonRow, 5, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(1, 3);
  grid->setRowStretch(3, 2);
  setMinimumSize(size() / 2);

  connect(open, &QPushButton::clicked, this, [this] { OnOpenStudy(); });
  connect(save, &QPushButton::clicked, this, [this] { OnSaveStudy(); });
  connect(saveAs, &QPushButton::clicked, this, [this] { OnSaveStudyAs(); });
  connect(pdf, &QPushButton::clicked, this, [this] { OnSaveStudyPdf(); });
  connect(image, &QPushButton::clicked, this, [this] { OnSaveImage(); });
  connect(copyImage, &QPushButton::clicked, this, [this] { OnCopyImage(); });
  connect(copyTable, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(table_->toPlainText()); });
  connect(close, &QPushButton::clicked, this, [this] { OnClose(); });
  CloseOnEscape();
}

StudyWindow::~StudyWindow() = default;

void StudyWindow::OnLoad() {
  edit_ = std::make_unique<StudyEdit>(context_.files, path_);
  NoteFolder(context_.state.Memory, DialogFolder::StudyFiles, path_);
  ShowStudy();
  CentreOnScreen();
  // The first entry takes the focus, not the chart, which comes first in the window.
  entries_[0][0]->setFocus(Qt::OtherFocusReason);
}

void StudyWindow::ShowStorm() {
  {
    const QSignalBlocker block(stormChoice_);
    stormChoice_->clear();
    stormChoice_->addItem(QStringLiteral("County chart"));
    if (!edit_->TableName().empty())
      stormChoice_->addItem(Q(edit_->TableName()));
    stormChoice_->setCurrentIndex(edit_->OnChart() ? 0 : 1);
  }
  {
    const QSignalBlocker block(p6_);
    p6_->setText(Q(edit_->SixHourRainfall()));
    p6Message_->hide();
  }
  p6Form_->setRowVisible(0, edit_->OnChart());
  const QSignalBlocker block(periods_);
  periods_->clear();
  const std::vector<double>& picked = edit_->Periods();
  for (const double years : edit_->TablePeriods()) {
    auto* item = new QListWidgetItem(Q(PlainNumber(years) + "-year"), periods_);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const bool on =
        picked.empty() || std::find(picked.begin(), picked.end(), years) != picked.end();
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
  periods_->setVisible(!edit_->OnChart() && !edit_->TablePeriods().empty());
}

void StudyWindow::OnOpenRainfall() {
  const std::string path = AskOpenPath(context_, this, DialogFolder::OpenedTables,
                                       messages::kRainfallDialogTitle, messages::kRainfallFilter);
  if (path.empty())
    return;
  if (RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kRainfallTableTitle, {}, {}},
                    [&] { edit_->OpenTable(path); }) != Outcome::Done)
    return;
  ShowStorm();
  RerunAndShow();
}

void StudyWindow::ShowStudy() {
  ShowStorm();
  for (std::size_t r = 0; r < kRoles.size(); ++r) {
    const bool has = edit_->HasBasin(kRoles[r]);
    entries_[r][0]->parentWidget()->setVisible(has);
    for (std::size_t e = 0; e < kBasinEntries; ++e) {
      const QSignalBlocker block(entries_[r][e]);
      entries_[r][e]->setText(Q(edit_->Entry(kRoles[r], static_cast<BasinEntry>(e))));
      entryMessages_[r][e]->hide();
    }
  }
  for (std::size_t c = 0; c < kCriterionEntries; ++c) {
    const QSignalBlocker block(criteria_[c]);
    criteria_[c]->setText(Q(edit_->Criterion(static_cast<CriterionEntry>(c))));
    criterionMessages_[c]->hide();
  }
  ShowPond();
  {
    const SizeEntries& size = edit_->Sizing();
    int dimension = 0;
    for (int i = 0; i < sizeDimension_->count(); ++i) {
      if (sizeDimension_->itemData(i).toString() == Q(size.Dimension))
        dimension = i;
    }
    sizeDimension_->setCurrentIndex(size.Blank() ? 0 : dimension);
    sizeDevice_->setCurrentText(Q(size.Device));
    const QSignalBlocker blockMin(sizeMin_), blockMax(sizeMax_);
    sizeMin_->setText(Q(size.Min));
    sizeMax_->setText(Q(size.Max));
    sizeMessage_->hide();
  }
  message_->clear();
  ShowResults();
}

void StudyWindow::ShowPond() {
  std::string note;
  if (!edit_->Pond())
    note = edit_->HasPond()
               ? "The pond is the stage-storage-outflow table " + edit_->Study().Pond->Path +
                     ". Only a pond designed from its shape and outlets (a .json "
                     "pond) can be edited here: New Pond designs one in its place."
               : "The study routes through no pond: New Pond designs one.";
  pond_->Show(edit_->Pond(), edit_->PondFile(), note, edit_->HasPond());
  ShowSizeDevices();
}

void StudyWindow::OnPondReplaced(bool designed) {
  if (designed)
    edit_->AddPond();
  else
    edit_->RemovePond();
  ShowPond();
  RerunAndShow();
}

void StudyWindow::ShowSizeDevices() {
  // The sizing's outlet as the study holds it (it follows a rename), else the one last picked.
  const std::string& sized = edit_->Sizing().Device;
  const QString current = sized.empty() ? sizeDevice_->currentText() : Q(sized);
  sizeDevice_->clear();
  PondEdit* pond = edit_->Pond();
  for (std::size_t i = 0; pond && i < pond->OutletCount(); ++i)
    sizeDevice_->addItem(Q(pond->OutletLabel(i)));
  sizeDevice_->setCurrentText(current);
  const bool sizing = !sizeDimension_->currentData().toString().isEmpty();
  const bool scale = sizeDimension_->currentData().toString() == QLatin1String("scale");
  sizeDevice_->setEnabled(sizing && !scale);
  sizeMin_->setEnabled(sizing);
  sizeMax_->setEnabled(sizing);
}

void StudyWindow::ShowResults() {
  const StudyCheck& check = edit_->Check();
  setWindowTitle(Q(edit_->Title()) + QStringLiteral(" - Study"));
  verdict_->setText(check.Passes() ? QStringLiteral("PASS") : QStringLiteral("FAIL"));
  table_->setPlainText(Q(CriteriaTable(check, edit_->FileName())));
  chart_->SetRuns(check.ProposedRuns, AllowableReleases(check));
  pond_->ShowRating(check.Pond);
  sizeResult_->setText(check.Sizing ? Q(check.Sizing->Line) : QString());
  try {
    chart_->Redraw();
  } catch (const std::exception&) {
    chart_->Show(Drawing{});
  }
}

void StudyWindow::OnEntryEdited() {
  edit_->SetSixHourRainfall(p6_->text().toStdString());
  p6Message_->hide();
  for (std::size_t r = 0; r < kRoles.size(); ++r) {
    for (std::size_t e = 0; e < kBasinEntries; ++e) {
      edit_->SetEntry(kRoles[r], static_cast<BasinEntry>(e), entries_[r][e]->text().toStdString());
      entryMessages_[r][e]->hide();
    }
  }
  for (std::size_t c = 0; c < kCriterionEntries; ++c) {
    edit_->SetCriterion(static_cast<CriterionEntry>(c), criteria_[c]->text().toStdString());
    criterionMessages_[c]->hide();
  }
  RerunAndShow();
}

void StudyWindow::OnPeriodsChecked() {
  std::vector<double> picked;
  for (int i = 0; i < periods_->count(); ++i) {
    if (periods_->item(i)->checkState() == Qt::Checked)
      picked.push_back(edit_->TablePeriods()[static_cast<std::size_t>(i)]);
  }
  edit_->SetPeriods(std::move(picked));
  RerunAndShow();
}

void StudyWindow::OnPondEdited() {
  edit_->PondEdited();
  ShowSizeDevices();
  RerunAndShow();
}

void StudyWindow::OnSizingEdited() {
  SizeEntries size;
  size.Dimension = sizeDimension_->currentData().toString().toStdString();
  if (!size.Dimension.empty()) {
    size.Device =
        size.Dimension == "scale" ? std::string() : sizeDevice_->currentText().toStdString();
    size.Min = sizeMin_->text().toStdString();
    size.Max = sizeMax_->text().toStdString();
  }
  edit_->SetSizing(std::move(size));
  ShowSizeDevices();
  RerunAndShow();
}

void StudyWindow::RerunAndShow() {
  message_->clear();
  pond_->ShowProblem("", "");
  sizeMessage_->hide();
  const std::optional<StudyProblem> problem = edit_->Rerun();
  if (problem && problem->PondKey) {
    pond_->ShowProblem(*problem->PondKey, problem->Text);
  } else if (problem) {
    QLabel* beside = message_;
    if (problem->Size)
      beside = sizeMessage_;
    else if (problem->SixHourRainfall)
      beside = p6Message_;
    else if (problem->Basin && problem->Entry)
      beside = entryMessages_[*problem->Basin == BasinRole::Proposed ? 0 : 1]
                             [static_cast<std::size_t>(*problem->Entry)];
    else if (problem->Criterion)
      beside = criterionMessages_[static_cast<std::size_t>(*problem->Criterion)];
    beside->setText(Q(problem->Text));
    beside->show();
  }
  ShowResults();
}

bool StudyWindow::ChangesSettled() {
  if (!edit_ || !edit_->Changed())
    return true;
  if (!context_.prompts.Question(this, messages::kStudyUnsavedTitle, messages::kStudyUnsavedText))
    return true;
  return OnSaveStudy();
}

bool StudyWindow::Open(const std::string& path) {
  std::unique_ptr<StudyEdit> opened;
  const Outcome outcome =
      RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kStudyOpenFaultTitle, {}, {}},
                    [&] { opened = std::make_unique<StudyEdit>(context_.files, path); });
  if (outcome != Outcome::Done)
    return false;
  edit_ = std::move(opened);
  path_ = path;
  ShowStudy();
  return true;
}

void StudyWindow::OnOpenStudy() {
  if (!ChangesSettled())
    return;
  const std::string path = AskOpenPath(context_, this, DialogFolder::StudyFiles,
                                       messages::kOpenStudyDialogTitle, messages::kStudyFileFilter);
  if (!path.empty())
    Open(path);
}

bool StudyWindow::OnSaveStudy() {
  const auto answerFor = [](const std::exception& fault) {
    return FaultAnswer{messages::kStudySaveFaultTitle, FileFaultLead(fault), {}};
  };
  const Outcome outcome = RunAtBoundary(context_.prompts, this, answerFor, [&] { edit_->Save(); });
  ShowResults();
  return outcome == Outcome::Done;
}

bool StudyWindow::OnSaveStudyAs() {
  const std::string name = edit_->FileName();
  const std::string path =
      AskSavePath(context_, this, DialogFolder::StudyFiles, messages::kSaveStudyDialogTitle, name,
                  messages::kStudyFileFilter);
  if (path.empty())
    return false;
  const auto answerFor = [](const std::exception& fault) {
    return FaultAnswer{messages::kStudySaveFaultTitle, FileFaultLead(fault), {}};
  };
  const Outcome outcome =
      RunAtBoundary(context_.prompts, this, answerFor, [&] { edit_->SaveAs(path); });
  if (outcome == Outcome::Done)
    path_ = path;
  ShowResults();
  return outcome == Outcome::Done;
}

void StudyWindow::OnSaveStudyPdf() {
  const std::string path =
      AskSavePath(context_, this, DialogFolder::Studies, messages::kStudyDialogTitle, "study.pdf",
                  messages::kPdfFilter);
  if (path.empty())
    return;
  const auto answerFor = [](const std::exception& fault) {
    return FaultAnswer{messages::kStudyFaultTitle, FileFaultLead(fault), {}};
  };
  RunAtBoundary(context_.prompts, this, answerFor, [&] {
    const std::string date = context_.clock.ShortDate();
    edit_->SaveDocument(
        path, StudyPdfBytes(StudyOfCheck(edit_->Study(), edit_->Check(), date), context_.clock));
  });
}

void StudyWindow::OnSaveImage() {
  const std::string path = AskImagePath(context_, this);
  if (path.empty())
    return;
  const auto answerFor = [](const std::exception& fault) {
    return FaultAnswer{messages::kImageFaultTitle, FileFaultLead(fault), {}};
  };
  RunAtBoundary(context_.prompts, this, answerFor, [&] {
    const StudyCheck& check = edit_->Check();
    edit_->SaveDocument(path, PictureBytes(StudyChart(check.ProposedRuns, kPlotWidth, kPlotHeight,
                                                      AllowableReleases(check)),
                                           path, &context_.devices));
  });
}

void StudyWindow::OnCopyImage() {
  CopyChartImage(context_.prompts, this, [&] {
    const StudyCheck& check = edit_->Check();
    return StudyChart(check.ProposedRuns, kPlotWidth, kPlotHeight, AllowableReleases(check));
  });
}

void StudyWindow::OnClose() {
  if (!ChangesSettled())
    return;
  Unload();
  if (endsProgram_)
    context_.endProgram();
}

void StudyWindow::CloseBox() {
  OnClose();
}

}  // namespace rh::ui
