#include "ui/Generate.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/Maker.h"
#include "app/Messages.h"
#include "app/Run.h"
#include "output/Hec1Deck.h"
#include "output/PrintedReport.h"
#include "platform/Faults.h"
#include "ui/FaultBoundary.h"

namespace rh::ui {

namespace {
constexpr qt::FontChoice kListFont{"MS Sans Serif", 12, false};
constexpr qt::FontChoice kCaption{"MS Sans Serif", 8.25, true};

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

Generate::Generate(UiContext& context, QWidget* owner)
    : Form(owner, "Generate", 7905, 6705,
           QString::fromLatin1(maker::kName) + QStringLiteral(" - Hydrograph Results")),
      context_(context) {
  auto* command1 = AddButton("Command1", QStringLiteral("Cancel"), {2640, 6120, 1095, 375});
  auto* command2 = AddButton("Command2", QStringLiteral("Print Report"), {4200, 6120, 1095, 375});
  list1_ = AddListBox("List1", {240, 120, 7335, 4860}, kListFont);
  label1_ = AddLabel("Label1", QStringLiteral("Hec1 Input File Created"), {240, 5520, 2055, 255},
                     kCaption);
  text1_ = AddTextBox("Text1", QStringLiteral("Text1"), {2400, 5520, 5175, 285});
  // A read-out, never an entry: greyed on the information background and out of the tab order.
  text1_->setEnabled(false);
  QPalette readOut = text1_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    readOut.setColor(group, QPalette::Base, readOut.color(group, QPalette::ToolTipBase));
  text1_->setPalette(readOut);

  connect(command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void Generate::Form_Load() {
  CentreOnScreen();
  const std::vector<std::string> lines = ComputeResults(context_.state);
  list1_->clear();
  for (const std::string& line : lines)
    list1_->addItem(Q(line));

  const bool on = context_.state.Hec1Enabled != kFalse;
  text1_->setVisible(on);
  label1_->setVisible(on);
  label1_->setEnabled(on);
  if (!on)
    return;
  text1_->setText(Q(context_.state.ReportPath));
  RunAtBoundary(context_.prompts, parentWidget(), FaultAnswer{messages::kDeckFaultTitle, {}, {}},
                [this] { WriteHec1Deck(context_.state, context_.files, context_.clock); });
}

void Generate::Command1_Click() {
  Unload();
}

void Generate::Command2_Click() {
  const auto answerFor = [](const std::exception& fault) {
    FaultAnswer answer{messages::kPrintFaultTitle, messages::kPrintFaultText, {}};
    if (dynamic_cast<const PrinterFault*>(&fault) != nullptr)
      answer.offer = messages::kPdfOfferText;
    return answer;
  };
  const Outcome outcome = RunAtBoundary(context_.prompts, this, answerFor, [this] {
    const auto printer = context_.openPrinter();
    PrintReport(context_.state, *printer, context_.clock);
  });
  if (outcome == Outcome::OfferAccepted)
    SaveReportAsPdf();
}

void Generate::SaveReportAsPdf() {
  const std::string suggested =
      QDir::home().filePath(QStringLiteral("hydrograph.pdf")).toStdString();
  const std::string path = context_.prompts.SaveFileName(this, messages::kPdfDialogTitle, suggested,
                                                         messages::kPdfFilter);
  if (path.empty())
    return;
  RunAtBoundary(context_.prompts, this, FaultAnswer{messages::kPdfFaultTitle, {}, {}}, [&] {
    const auto printer = context_.openPdfPrinter(path);
    PrintReport(context_.state, *printer, context_.clock);
  });
}

}  // namespace rh::ui
