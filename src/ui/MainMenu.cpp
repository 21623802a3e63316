#include "ui/MainMenu.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <optional>

#include "app/run/PreparedRun.h"
#include "app/run/RunBasin.h"
#include "app/run/RunRequest.h"
#include "app/window/Maker.h"
#include "app/window/Settings.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "platform/qt/Browser.h"
#include "platform/qt/Pictures.h"
#include "ui/DirFileSelect.h"
#include "ui/FaultBoundary.h"
#include "ui/Generate.h"
#include "ui/LicenseDisplay.h"
#include "ui/WebPage.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

namespace {
constexpr FontChoice kHeading{"Times New Roman", 20.25, true};
constexpr FontChoice kNotice{"Times New Roman", 9, false};
constexpr FontChoice kSmallSerif{"Times New Roman", 8.25, false};
constexpr FontChoice kCaption{"MS Sans Serif", 8.25, true};
constexpr FontChoice kTitle{"MS Sans Serif", 12, true};
constexpr FontChoice kSubtitle{"MS Sans Serif", 9.75, true};
}  // namespace

MainMenu::MainMenu(UiContext& context)
    : Form(nullptr, "MainMenu", 8415, 6105, QStringLiteral("Rational Method Hydrograph")),
      context_(context) {
  AddLabel("Label1", QString::fromLatin1(maker::kName), {1320, 240, 5055, 495}, kHeading);
  tcBox_ = AddTextBox("Text2", QStringLiteral("Text2"), {5760, 2400, 855, 285});
  rainBox_ = AddTextBox("Text3", QStringLiteral("Text3"), {4440, 2760, 1215, 285});
  areaBox_ = AddTextBox("Text4", QStringLiteral("Text4"), {4440, 3120, 1215, 285});
  coefBox_ = AddTextBox("Text5", QStringLiteral("Text5"), {4440, 3480, 1215, 285});
  peakBox_ = AddTextBox("Text7", QStringLiteral("Text7"), {4440, 3840, 1215, 285});
  pathBox_ = AddTextBox("Text1", QStringLiteral("Text1"), {1200, 4560, 5295, 315});
  auto* generateButton = AddButton("Command1", QStringLiteral("Generate"), {3000, 5040, 855, 375});
  auto* exitButton = AddButton("Command3", QStringLiteral("Exit"), {4560, 5040, 855, 375});
  AddLabel("Label2", QString::fromUtf8(maker::kRightsNotice), {1320, 720, 4455, 255}, kNotice);
  logo_ = AddPictureBox("Picture1", {240, 240, 975, 975});
  AddLabel("Label6", Q(maker::RevisionNote()), {7080, 5880, 1335, 255}, kSmallSerif);
  pathCaption_ = AddLabel("Label3", QStringLiteral("Create HEC1 Input File"),
                          {1200, 4320, 3375, 255}, kCaption);
  AddLabel("Label7", QStringLiteral("Generate Rational Method Hydrograph"), {2280, 1440, 4815, 375},
           kTitle);
  browseButton_ = AddButton("Command2", QStringLiteral("Browse"), {6840, 4560, 735, 255});
  AddLabel("Label4", QStringLiteral("Rational Method Time of Concentration (In Minutes)"),
           {1200, 2400, 4455, 255}, kCaption);
  AddLabel("Label5", QStringLiteral("6 Hour Rainfall (In Inches)"), {1200, 2760, 2415, 255},
           kCaption);
  AddLabel("Label8", QStringLiteral("Basin Area (In Acres)"), {1200, 3120, 2055, 255}, kCaption);
  AddLabel("Label9", QStringLiteral("Rational Method Runoff Coefficient"), {1200, 3480, 3135, 255},
           kCaption);
  AddLabel("Label10", QStringLiteral("Peak Discharge (In CFS)"), {1200, 3840, 2415, 255}, kCaption);
  AddLabel("Label12", QStringLiteral("Required Entry Fields"), {1200, 2040, 2535, 255}, kSubtitle);
  auto* webAddressButton = AddButton("Command4", QString::fromLatin1(maker::kWebAddress),
                                     {1920, 5640, 2175, 255}, kSmallSerif);
  AddLabel("Label11", QString::fromLatin1(maker::kContactLine), {1320, 960, 5415, 255});
  auto* licenseButton =
      AddButton("Command5", QStringLiteral("Read Software License"), {4320, 5640, 1935, 255});

  // Enter in any entry box presses "Generate".
  SetDefaultButton(generateButton);

  connect(generateButton, &QPushButton::clicked, this, [this] { OnGenerate(); });
  connect(browseButton_, &QPushButton::clicked, this, [this] { OnBrowse(); });
  connect(exitButton, &QPushButton::clicked, this, [this] { OnExit(); });
  connect(webAddressButton, &QPushButton::clicked, this, [this] { OnWebAddress(); });
  connect(licenseButton, &QPushButton::clicked, this, [this] { OnReadLicense(); });
}

void MainMenu::OnLoad() {
  CentreOnScreen();
  logo_->setPixmap(qt::LoadPicture(context_.state.LogoPath));
  SetupEntryFields();
}

void MainMenu::SetupEntryFields() {
  const bool on = context_.state.Hec1Enabled != kFalse;
  pathBox_->setEnabled(on);
  pathBox_->setVisible(on);
  pathCaption_->setEnabled(on);
  pathCaption_->setVisible(on);
  browseButton_->setEnabled(on);
  browseButton_->setVisible(on);
  if (on) {
    pathBox_->setText(Q(context_.state.ReportPath));
    pathBox_->repaint();
  }
  for (QLineEdit* box : {tcBox_, rainBox_, areaBox_, coefBox_, peakBox_}) {
    box->clear();
    box->repaint();
  }
  ShowStorm();
}

void MainMenu::ShowStorm() {
  // A rainfall table chosen at start-up or in the study window gives every run its 6-hour
  // rainfall: the box shows it and takes no typing (Tab passes it by), and its tip names the
  // storm and the pond the run is routed through.
  const RunChoices& choices = context_.state.Choices;
  QString storm;
  if (const auto& table = choices.Rainfall) {
    rainBox_->setText(Q(PlainNumber(SixHourDepth(*table))));
    storm =
        Q((table->Ari.empty() ? std::string() : table->Ari + "-year ") + "storm of " + table->File);
  } else if (!rainBox_->isEnabled()) {
    rainBox_->clear();  // the study window went back to the county chart: the rainfall is typed
  }
  rainBox_->setEnabled(!choices.Rainfall);
  if (choices.Pond)
    storm += (storm.isEmpty() ? QStringLiteral("County chart") : QString()) +
             QStringLiteral(", routed through ") + Q(choices.Pond->File);
  rainBox_->setToolTip(storm);
  rainBox_->setAccessibleDescription(storm);
}

void MainMenu::FocusFirstEntry() {
  activateWindow();
  tcBox_->setFocus(Qt::OtherFocusReason);
}

RunEntries MainMenu::Entries() const {
  RunEntries entries;
  entries.Path = pathBox_->text().toStdString();
  entries.TimeOfConcentration = tcBox_->text().toStdString();
  entries.SixHourRainfall = rainBox_->text().toStdString();
  entries.BasinArea = areaBox_->text().toStdString();
  entries.RunoffCoefficient = coefBox_->text().toStdString();
  entries.PeakDischarge = peakBox_->text().toStdString();
  return entries;
}

// "Generate": the run request on the entry boxes; an accepted run is computed and written, then
// shown on the results screen.
void MainMenu::OnGenerate() {
  Init& state = context_.state;
  std::optional<BasinRun> run;
  RunEntries entries;
  // A fault that reaches here stopped the run: the results screen is not shown and the entries
  // stay as typed. The only file a run request writes itself is the settings file.
  const auto answerFor = [](const std::exception& fault) {
    if (KindOf(fault) == FaultKind::File)
      return FaultAnswer{messages::kSettingsFaultTitle, messages::kSettingsFaultText, {}};
    if (KindOf(fault) == FaultKind::Usage)
      return FaultAnswer{messages::kDeckFaultTitle, {}, {}};
    return FaultAnswer{messages::kRunFaultTitle, messages::kRunFaultText, {}};
  };
  RunAtBoundary(context_.prompts, this, answerFor, [&] {
    const PreparedRun prepared =
        RequestRun(state, Entries(), context_.files, [&] { WriteSettings(state, context_.files); });
    // With the peak from the chart, the box shows the peak the run takes.
    if (state.Choices.ChartPeak) {
      peakBox_->setText(Q(PlainNumber(prepared.Inputs.PeakDischarge)));
      peakBox_->repaint();
    }
    // The study window reruns the entries as the boxes show them.
    entries = Entries();
    run = RunBasin(prepared.Inputs, prepared.Request,
                   RunServices{context_.files, context_.clock, &context_.devices});
  });
  if (!run)
    return;
  if (run->Failure) {
    // With the switch on and no path typed, the user is told where the path goes.
    const bool noPath =
        run->Failure->Which == OutputKind::Deck && TrimSpaces(run->DeckPath).empty();
    context_.prompts.Warning(this, messages::kDeckFaultTitle,
                             noPath ? messages::kDeckPathEmptyText : run->Failure->Message);
  }
  ShowModal(new Generate(context_, this, std::move(*run), std::move(entries), state.Choices));
  ShowStorm();  // the study window may have chosen another storm or pond for the next run
}

// "Browse": shows the file selection dialog modally, then puts SelectedPath in the path box,
// however the dialog was closed.
void MainMenu::OnBrowse() {
  ShowModal(new DirFileSelect(context_, this));
  pathBox_->setText(Q(context_.state.SelectedPath));
  pathBox_->repaint();
}

void MainMenu::OnExit() {
  context_.endProgram();
}

// Web-address button: shows the web page screen modally, or opens the page in the desktop's
// browser when there is none to embed; every fault is ignored.
void MainMenu::OnWebAddress() {
  try {
    auto page = std::make_unique<WebPage>(this);
    if (!page->Embeds()) {
      qt::OpenInDesktopBrowser(maker::kWebAddress);
      return;
    }
    ShowModal(page.release());
  } catch (...) {
    // An absent browser component or any other fault leaves the main screen as it was.
  }
}

// "Read Software License": shows the licence text viewer modally. A missing or unreadable
// licence file is reported and the viewer is not shown.
void MainMenu::OnReadLicense() {
  RunAtBoundary(context_.prompts, this,
                FaultAnswer{messages::kLicenseFaultTitle, messages::kLicenseFaultText, {}},
                [this] { ShowModal(new LicenseDisplay(context_, this)); });
}

}  // namespace rh::ui
