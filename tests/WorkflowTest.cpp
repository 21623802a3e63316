// A user's session with the windowed program: start-up and the three method screens, runs from
// the main screen, refused entries, faults and printing.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "QtFakes.h"
#include "app/window/Maker.h"
#include "app/window/Settings.h"
#include "core/Faults.h"
#include "output/Hec1Deck.h"
#include "output/HydrographTable.h"
#include "output/Plot.h"
#include "output/PrintedReport.h"
#include "output/ResultsListing.h"
#include "platform/qt/DrawingPainter.h"
#include "ui/Program.h"

namespace {

constexpr const char* kSettings =
    "[Orvane Engineering Company - Rational Method Hydrograph Setup.ini]\r\n"
    "[*** Hydrograph report Path/Filename ***]\r\n"
    "/runs/basin.hc1\r\n";

struct Basin {
  QString tc, rain, area, coef, peak;
};

// What the results screen showed before its "Cancel" was pressed.
struct ResultsSeen {
  bool shown = false;
  QStringList lines;
  bool pathVisible = false;
  QString path;
};

QStringList ToQt(const std::vector<std::string>& lines) {
  QStringList list;
  for (const auto& line : lines)
    list << QString::fromStdString(line);
  return list;
}

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i)
    items << list->item(i)->text();
  return items;
}

// The run the core computes for a basin typed as `b`.
rh::Run ExpectedRun(const Basin& b, bool hec1 = false) {
  rh::Run run;
  rh::RunInputs& in = run.Inputs;
  in.ZeroTail = hec1 ? rh::kZeroTailHec1 : rh::kZeroTail;
  in.TimeOfConcentration = b.tc.toDouble();
  in.SixHourRainfall = b.rain.toDouble();
  in.BasinArea = b.area.toDouble();
  in.RunoffCoefficient = b.coef.toDouble();
  in.PeakDischarge = b.peak.toDouble();
  rh::ComputeHydrograph(in, run.Result);
  return run;
}

// The lines the core gives for a basin typed as `b`.
QStringList ExpectedLines(const Basin& b, bool hec1 = false) {
  return ToQt(rh::BuildResultLines(ExpectedRun(b, hec1)));
}

// The sample basin the workflows type: Tc 10, P6 2.5, 100 acres, C .85, Qp 250.
rh::Run SampleRun(bool hec1 = false) {
  return ExpectedRun({"10", "2.5", "100", ".85", "250"}, hec1);
}

// Sends a key to whatever has the focus in `window`, as the keyboard does.
void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = window->focusWidget();
  QTest::keyClick(focus != nullptr ? focus : window, key, modifiers);
}

std::string DataFile(const char* name) {
  QFile file(QStringLiteral(RH_TEST_DATA_DIR "/") + QLatin1String(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// "Plot" on the results screen: the study window it opens beside them.
QWidget* OpenStudy(QWidget* results) {
  QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("Command4")), Qt::LeftButton);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == QLatin1String("PlotWindow") && window->isVisible())
      return window;
  }
  return nullptr;
}

// The chart area as shown, and the chart drawn afresh at that size.
bool ChartShowsPlotAtItsSize(QWidget* plotWindow, const rh::Run& run) {
  auto* chart = plotWindow->findChild<QWidget*>(QStringLiteral("Picture1"));
  QImage expected(chart->size(), QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&expected);
  rh::qt::PaintDrawing(painter, rh::PlotDrawing(run, chart->width(), chart->height()));
  painter.end();
  return chart->grab().toImage().convertToFormat(expected.format()) == expected;
}

}  // namespace

class WorkflowTest : public QObject {
  Q_OBJECT

  QTemporaryDir programDir_;
  std::unique_ptr<rh::test::UiSession> session_;
  QPointer<rh::ui::MainMenu> mainMenu_;

  std::string InstallDir() const { return programDir_.path().toStdString() + "/"; }

  rh::StartupConfig Config(bool hec1) const {
    rh::StartupConfig config;
    config.hec1Enabled = hec1;
    config.installDir = InstallDir();
    config.root = "/";
    return config;
  }

  // Start-up with the three "Next" buttons pressed; returns the main screen.
  rh::ui::MainMenu* Start(bool hec1 = false) { return Start(Config(hec1)); }
  rh::ui::MainMenu* Start(const rh::StartupConfig& config) {
    session_->files.files[InstallDir() + "Setup.ini"] = kSettings;
    for (const char* name : {"MethodText1", "MethodText2", "MethodText3"}) {
      rh::test::WhenModal(QString::fromLatin1(name), [](QWidget* screen) {
        QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
      });
    }
    mainMenu_ = rh::ui::StartProgram(session_->context, config);
    return mainMenu_;
  }

  QLineEdit* Box(const char* name) {
    return mainMenu_->findChild<QLineEdit*>(QString::fromLatin1(name));
  }

  void Type(const Basin& b) {
    const std::pair<const char*, QString> entries[] = {{"Text2", b.tc},
                                                       {"Text3", b.rain},
                                                       {"Text4", b.area},
                                                       {"Text5", b.coef},
                                                       {"Text7", b.peak}};
    for (const auto& [name, text] : entries) {
      Box(name)->clear();
      QTest::keyClicks(Box(name), text);
    }
  }

  // Presses "Generate"; when the results screen opens, `whileOpen` runs on it, then "Cancel".
  ResultsSeen Generate(const std::function<void(QWidget*)>& whileOpen = {}) {
    auto seen = std::make_shared<ResultsSeen>();
    const QPointer<QTimer> waiter = rh::test::WhenModal(
        QStringLiteral("Generate"),
        [seen, whileOpen](QWidget* results) {
          seen->shown = true;
          seen->lines = Items(results->findChild<QListWidget*>(QStringLiteral("List1")));
          auto* path = results->findChild<QLineEdit*>(QStringLiteral("Text1"));
          seen->pathVisible = path->isVisible();
          seen->path = path->text();
          if (whileOpen)
            whileOpen(results);
          QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("Command1")),
                            Qt::LeftButton);
        },
        500);
    QTest::mouseClick(mainMenu_->findChild<QPushButton*>(QStringLiteral("Command1")),
                      Qt::LeftButton);
    delete waiter.data();  // a refused run shows no results screen
    return *seen;
  }

  QStringList Titles() const {
    QStringList titles;
    for (const auto& shown : session_->prompts.shown)
      titles << QString::fromStdString(shown.title);
    return titles;
  }

 private slots:
  void initTestCase() {
    QVERIFY(programDir_.isValid());
    QVERIFY(QFile::copy(QStringLiteral(RH_RESOURCES_DIR "/ORV.jpg"),
                        programDir_.filePath(QStringLiteral("ORV.jpg"))));
  }
  void init() { session_ = std::make_unique<rh::test::UiSession>(); }
  void cleanup() {
    delete mainMenu_.data();
    session_.reset();
  }

  void startupShowsMainScreenThenTheMethodScreensOneAtATimeCentred() {
    session_->files.files[InstallDir() + "Setup.ini"] = kSettings;
    QStringList order;
    bool oneAtATime = true;
    bool centred = true;
    const auto expectCentred = [&](QWidget* w) {
      const QRect screen = w->screen()->geometry();
      const double dx = rh::ui::ScreenDpiX();
      const double dy = rh::ui::ScreenDpiY();
      const rh::ui::TwipPoint at = rh::ui::CentredPosition(
          rh::ui::PixelsToTwips(screen.width(), dx), rh::ui::PixelsToTwips(screen.height(), dy),
          rh::ui::PixelsToTwips(w->frameGeometry().width(), dx),
          rh::ui::PixelsToTwips(w->frameGeometry().height(), dy));
      centred = centred &&
                w->frameGeometry().topLeft() ==
                    QPoint(rh::ui::TwipsToPixels(at.left, dx), rh::ui::TwipsToPixels(at.top, dy));
    };
    for (const char* name : {"MethodText1", "MethodText2", "MethodText3"}) {
      rh::test::WhenModal(QString::fromLatin1(name), [&](QWidget* screen) {
        int visibleMethodScreens = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (w->isVisible() && w->objectName().startsWith(QLatin1String("MethodText")))
            ++visibleMethodScreens;
          if (w->isVisible() && w->objectName() == QLatin1String("MainMenu") &&
              !order.contains(QStringLiteral("MainMenu"))) {
            order << w->objectName();
            expectCentred(w);
          }
        }
        oneAtATime = oneAtATime && visibleMethodScreens == 1;
        order << screen->objectName();
        expectCentred(screen);
        QCOMPARE(screen->windowTitle(), QString::fromUtf8(rh::maker::kRightsNotice));
        QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
      });
    }
    mainMenu_ = rh::ui::StartProgram(session_->context, Config(false));
    QVERIFY(!mainMenu_.isNull());
    QCOMPARE(order, (QStringList{"MainMenu", "MethodText1", "MethodText2", "MethodText3"}));
    QVERIFY(oneAtATime);
    QVERIFY(centred);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(mainMenu_->isVisible());
    QCOMPARE(session_->state.ReportPath, std::string("/runs/basin.hc1"));
    // Typing goes into the time of concentration box.
    QVERIFY(QTest::qWaitForWindowActive(mainMenu_));
    QCOMPARE(QApplication::focusWidget(), Box("Text2"));
  }

  void startupFaultIsReportedAndNoScreenStays_data() {
    QTest::addColumn<QByteArray>("settings");  // "-" = no settings file
    QTest::addColumn<QString>("logo");         // contents of ORV.jpg, "-" = keep the real logo
    QTest::addColumn<QString>("named");        // the file the message names
    QTest::newRow("no settings file") << QByteArray("-") << "-"
                                      << "Setup.ini";
    QTest::newRow("settings file with two lines") << QByteArray("[a]\r\n[b]\r\n") << "-"
                                                  << "Setup.ini";
    QTest::newRow("logo missing") << QByteArray(kSettings) << ""
                                  << "ORV.jpg";
    QTest::newRow("logo not a picture") << QByteArray(kSettings) << "garbage"
                                        << "ORV.jpg";
  }
  void startupFaultIsReportedAndNoScreenStays() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, logo);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const std::string installDir = dir.path().toStdString() + "/";
    if (settings != "-")
      session_->files.files[installDir + "Setup.ini"] = settings.toStdString();
    if (logo == QLatin1String("-")) {
      QVERIFY(QFile::copy(QStringLiteral(RH_RESOURCES_DIR "/ORV.jpg"),
                          dir.filePath(QStringLiteral("ORV.jpg"))));
    } else if (!logo.isEmpty()) {
      QFile file(dir.filePath(QStringLiteral("ORV.jpg")));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(logo.toLatin1());
    }
    rh::StartupConfig config = Config(false);
    config.installDir = installDir;
    mainMenu_ = rh::ui::StartProgram(session_->context, config);
    QVERIFY(mainMenu_.isNull());
    QCOMPARE(Titles(), QStringList{rh::messages::kStartupFaultTitle});
    const QString text = QString::fromStdString(session_->prompts.shown[0].text);
    QVERIFY2(text.contains(named), qPrintable(text));
    QVERIFY2(text.contains(dir.path()), qPrintable(text));
    for (QWidget* w : QApplication::topLevelWidgets())
      QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
  }

  void generateShowsExactlyTheRunsLinesAndASecondRunOnlyItsOwn() {
    Start();
    const Basin first{"10", "2.5", "100", ".85", "250"};
    const Basin second{"15", "3", "40", ".6", "80"};
    Type(first);
    const ResultsSeen one = Generate();
    QVERIFY(one.shown);
    QCOMPARE(one.lines, ExpectedLines(first));
    QVERIFY(!one.pathVisible);
    Type(second);
    const ResultsSeen two = Generate();
    QCOMPARE(two.lines, ExpectedLines(second));
    QVERIFY(session_->prompts.shown.empty());
    // The entries keep what was typed.
    QCOMPARE(Box("Text2")->text(), QStringLiteral("15"));
    QCOMPARE(session_->files.writes, 0);  // with the switch off nothing is written
  }

  void refusedOrFaultedRunsWarnAndShowNoResults_data() {
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("title");
    QTest::newRow("blank entry") << "10"
                                 << "  " << rh::messages::kIncompleteTitle;
    QTest::newRow("Tc rounds below 5") << "4.4"
                                       << "100" << rh::messages::kTcTitle;
    QTest::newRow("zero area faults the computation") << "10"
                                                      << "0" << rh::messages::kRunFaultTitle;
    QTest::newRow("entry beyond the double range") << "10"
                                                   << "1e999" << rh::messages::kRunFaultTitle;
  }
  void refusedOrFaultedRunsWarnAndShowNoResults() {
    QFETCH(QString, tc);
    QFETCH(QString, area);
    QFETCH(QString, title);
    Start();
    Type({tc, "2.5", area, ".85", "250"});
    const ResultsSeen seen = Generate();
    QVERIFY(!seen.shown);
    QCOMPARE(Titles(), QStringList{title});
    QVERIFY(mainMenu_->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(Box("Text4")->text(), area);
    // The main screen stays usable: a good run afterwards shows its results.
    session_->prompts.shown.clear();
    Type({"10", "2.5", "100", ".85", "250"});
    QVERIFY(Generate().shown);
    QVERIFY(session_->prompts.shown.empty());
  }

  void withHec1TheDeckPathIsShownAndAFailedDeckStillShowsTheList() {
    Start(true);
    const std::string deck = "/nowhere/run.hc1";
    session_->files.unwritable.insert(deck);
    Box("Text1")->setText(QString::fromStdString(deck));
    const Basin basin{"10", "2.5", "100", ".85", "250"};
    Type(basin);
    const ResultsSeen seen = Generate();
    QVERIFY(seen.shown);
    QCOMPARE(seen.lines, ExpectedLines(basin, true));
    QVERIFY(seen.pathVisible);
    QCOMPARE(seen.path, QString::fromStdString(deck));
    QCOMPARE(Titles(), QStringList{rh::messages::kDeckFaultTitle});
    // The settings file keeps the path for the next start.
    QCOMPARE(session_->files.files[InstallDir() + "Setup.ini"], rh::SettingsText(deck));
  }

  void withHec1TheDeckIsWrittenBeforeTheResultsShow() {
    Start(true);
    Box("Text1")->setText(QStringLiteral("/runs/out.hc1"));
    Type({"10", "2.5", "100", ".85", "250"});
    std::string deckWhileShown;
    Generate([&](QWidget*) { deckWhileShown = session_->files.files["/runs/out.hc1"]; });
    QCOMPARE(deckWhileShown,
             rh::Hec1DeckText(SampleRun(true), "/runs/out.hc1", session_->clock.ShortDate()));
    QVERIFY(session_->prompts.shown.empty());
  }

  void unwritableSettingsFileStopsTheRun() {
    Start(true);
    session_->files.unwritable.insert(InstallDir() + "Setup.ini");
    Type({"10", "2.5", "100", ".85", "250"});
    QVERIFY(!Generate().shown);
    QCOMPARE(Titles(), QStringList{rh::messages::kSettingsFaultTitle});
  }

  void printReportTwicePrintsTwoIdenticalJobs() {
    Start();
    Type({"10", "2.5", "100", ".85", "250"});
    bool stillOpen = false;
    Generate([&](QWidget* results) {
      auto* print = results->findChild<QPushButton*>(QStringLiteral("Command2"));
      QTest::mouseClick(print, Qt::LeftButton);
      QTest::mouseClick(print, Qt::LeftButton);
      stillOpen = results->isVisible();
    });
    QVERIFY(stillOpen);
    QVERIFY(session_->prompts.shown.empty());
    const auto& jobs = session_->devices.printer.jobs;
    QCOMPARE(jobs.size(), std::size_t{2});
    for (const auto& job : jobs) {
      QVERIFY(job.ended);
      QVERIFY(!job.aborted);
    }
    const auto first = rh::test::RecordingPrinter::Texts(jobs[0]);
    QVERIFY(first.size() > 7);
    QCOMPARE(first, rh::test::RecordingPrinter::Texts(jobs[1]));
  }

  void noPrinterOffersAPdfAndTheResultsStayOpen_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("saveAs");  // "" = the file dialog is cancelled
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("pdfJobs");
    QTest::newRow("declined") << false << "" << QStringList{"question"} << 0;
    QTest::newRow("accepted, dialog cancelled")
        << true << "" << QStringList{"question", "save"} << 0;
    QTest::newRow("accepted, saved")
        << true << "/tmp/report.pdf" << QStringList{"question", "save"} << 1;
  }
  void noPrinterOffersAPdfAndTheResultsStayOpen() {
    QFETCH(bool, accept);
    QFETCH(QString, saveAs);
    QFETCH(QStringList, asked);
    QFETCH(int, pdfJobs);
    Start();
    session_->devices.noPrinter = true;
    session_->prompts.answers = {accept};
    session_->prompts.nextSaveName = saveAs.toStdString();
    Type({"10", "2.5", "100", ".85", "250"});
    bool stillOpen = false;
    Generate([&](QWidget* results) {
      QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("Command2")),
                        Qt::LeftButton);
      stillOpen = results->isVisible();
    });
    QVERIFY(stillOpen);
    QStringList kinds;
    for (const auto& shown : session_->prompts.shown)
      kinds << QString::fromStdString(shown.kind);
    QCOMPARE(kinds, asked);
    const auto& question = session_->prompts.shown[0];
    QCOMPARE(question.title, std::string(rh::messages::kPrintFaultTitle));
    QVERIFY(question.text.find("No printer is installed.") != std::string::npos);
    QVERIFY(question.text.find(rh::messages::kPdfOfferText) != std::string::npos);
    QCOMPARE(static_cast<int>(session_->devices.pdf.jobs.size()), pdfJobs);
    QCOMPARE(static_cast<int>(session_->files.files.count(saveAs.toStdString())), pdfJobs);
    if (pdfJobs > 0) {
      QVERIFY(session_->devices.pdf.jobs[0].ended);
      QVERIFY(session_->files.files[saveAs.toStdString()].find("PEAK DISCHARGE  250  CFS") !=
              std::string::npos);
    }
  }

  // A file that cannot be written is reported and the screen stays; then the table is saved.
  void saveTableWritesTheCompanionsCsv() {
    Start();
    session_->prompts.nextSaveName = "/runs/basin.csv";
    session_->files.unwritable.insert("/runs/basin.csv");
    Type({"10", "2.5", "100", ".85", "250"});
    bool stillOpen = false;
    Generate([&](QWidget* results) {
      QTest::mouseClick(results->findChild<QPushButton*>("Command3"), Qt::LeftButton);
      stillOpen = results->isVisible();
      session_->files.unwritable.clear();
      QTest::mouseClick(results->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    });
    QVERIFY(stillOpen);
    QCOMPARE(Titles(), (QStringList{rh::messages::kTableDialogTitle, rh::messages::kTableFaultTitle,
                                    rh::messages::kTableDialogTitle}));
    QVERIFY(session_->prompts.shown[1].text.find("/runs/basin.csv") != std::string::npos);
    QCOMPARE(session_->files.files["/runs/basin.csv"], rh::HydrographCsv(SampleRun()));
  }

  // The study window opens beside the results (not modal), shows the chart at its drawing area's
  // size, again after a resize, saves the 1600 x 900 chart in the format the file name asks for (a
  // name without an extension takes the chosen filter's), and closes on Escape.
  void plotWindowDrawsAtItsSizeAndSavesPictures_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");  // chosen in the dialog; "" for none reported
    QTest::addColumn<QString>("saveAs");
    QTest::newRow("PNG") << "/runs/plot.PNG"
                         << ""
                         << "/runs/plot.PNG";
    QTest::newRow("SVG") << "/runs/plot.svg"
                         << ""
                         << "/runs/plot.svg";
    QTest::newRow("no extension, the first filter") << "/runs/plot3"
                                                    << ""
                                                    << "/runs/plot3.png";
    QTest::newRow("no extension, the SVG filter") << "/runs/plot3"
                                                  << "SVG drawings (*.svg)"
                                                  << "/runs/plot3.svg";
    QTest::newRow("no picture extension: a warning") << "/runs/plot.pdf"
                                                     << ""
                                                     << "/runs/plot.pdf";
  }
  void plotWindowDrawsAtItsSizeAndSavesPictures() {
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, saveAs);
    Start();
    session_->prompts.nextSaveName = typed.toStdString();
    session_->prompts.nextSaveFilter = filter.toStdString();
    Type({"10", "2.5", "100", ".85", "250"});
    bool beside = false, drawn = false, redrawn = false, closedByEscape = false;
    Generate([&](QWidget* results) {
      QWidget* plot = OpenStudy(results);
      beside = !plot->isModal() && QApplication::activeModalWidget() == results;
      drawn = ChartShowsPlotAtItsSize(plot, SampleRun());
      plot->resize(plot->width() + 150, plot->height() + 40);
      redrawn = ChartShowsPlotAtItsSize(plot, SampleRun());
      QTest::mouseClick(plot->findChild<QPushButton*>("Command1"), Qt::LeftButton);
      Key(plot, Qt::Key_Escape);
      closedByEscape = !plot->isVisible();
    });
    QVERIFY(beside && drawn && redrawn && closedByEscape);
    const rh::Drawing chart = rh::PlotDrawing(SampleRun());
    const std::map<QString, std::string> expected{
        {"/runs/plot.PNG", session_->devices.PngBytes(chart)},
        {"/runs/plot3.png", session_->devices.PngBytes(chart)},
        {"/runs/plot.svg", rh::DrawingSvg(chart)},
        {"/runs/plot3.svg", rh::DrawingSvg(chart)}};
    QCOMPARE(session_->files.files.count(saveAs.toStdString()), expected.count(saveAs));
    if (expected.count(saveAs) != 0)
      QCOMPARE(session_->files.files[saveAs.toStdString()], expected.at(saveAs));
    else
      QCOMPARE(Titles().last(), QString(rh::messages::kImageFaultTitle));
  }

  // Each save dialog opens in the folder of the last file saved in the session, whichever dialog
  // saved it; a table name typed without an extension is saved as CSV.
  void saveDialogsOpenInTheFolderLastSaved() {
    Start();
    session_->devices.noPrinter = true;  // "Print Report" offers the PDF's dialog
    Type({"10", "2.5", "100", ".85", "250"});
    auto& prompts = session_->prompts;
    Generate([&](QWidget* results) {
      const auto press = [&](const char* button) {
        QTest::mouseClick(results->findChild<QPushButton*>(button), Qt::LeftButton);
      };
      prompts.nextSaveName = "/runs/north/basin";
      press("Command3");
      prompts.nextSaveName = "";  // the PDF's dialog is cancelled
      press("Command2");
      QWidget* plot = OpenStudy(results);
      prompts.nextSaveName = "/runs/south/plot.svg";
      QTest::mouseClick(plot->findChild<QPushButton*>("Command1"), Qt::LeftButton);
      plot->close();
      prompts.nextSaveName = "";
      press("Command3");
    });
    QStringList starts;
    for (const auto& shown : prompts.shown) {
      if (shown.kind == "save")
        starts << QString::fromStdString(shown.start);
    }
    QCOMPARE(starts,
             (QStringList{QDir::home().filePath("hydrograph.csv"), "/runs/north/hydrograph.pdf",
                          "/runs/north/hydrograph.png", "/runs/south/hydrograph.csv"}));
    QCOMPARE(session_->files.files["/runs/north/basin.csv"], rh::HydrographCsv(SampleRun()));
    QCOMPARE(session_->files.files.count("/runs/south/plot.svg"), std::size_t{1});
  }

  // Enter in an entry box runs "Generate". On the results, Ctrl+A selects every line, Ctrl+C and
  // "Copy Table" copy the whole table, keypad Enter presses the focused button and Escape closes
  // the screen.
  void keyboardOnTheScreens() {
    Start();
    Type({"10", "2.5", "100", ".85", "250"});
    bool allSelected = false, closed = false;
    QString byKey, byMenu;
    rh::test::WhenModal("Generate", [&](QWidget* results) {
      auto* list = results->findChild<QListWidget*>("List1");
      list->setCurrentRow(3);
      QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
      allSelected = list->selectedItems().size() == list->count();
      QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
      byKey = QGuiApplication::clipboard()->text();
      QGuiApplication::clipboard()->clear();
      list->findChild<QAction*>("CopyTable")->trigger();
      byMenu = QGuiApplication::clipboard()->text();
      auto* print = results->findChild<QPushButton*>("Command2");
      print->setFocus();
      QTest::keyClick(print, Qt::Key_Enter, Qt::KeypadModifier);
      Key(results, Qt::Key_Escape);
      closed = !results->isVisible();
    });
    Box("Text7")->setFocus();
    QTest::keyClick(Box("Text7"), Qt::Key_Return);
    QVERIFY(allSelected && closed);
    const QString table = QString::fromStdString(rh::HydrographTsv(SampleRun()));
    QCOMPARE(byKey, table);
    QCOMPARE(byMenu, table);
    QCOMPARE(session_->devices.printer.jobs.size(), std::size_t{1});
  }

  // Started with a rainfall table and a pond, the study window beside the results adds a return
  // period, refuses a table that cannot serve (naming its file and line), keeps the project
  // details, refuses to save over the pond table, and saves the study PDF and one storm's deck; the
  // results screen keeps Generate's run and copies its routed table.
  void studyWindowTakesItsOwnStormsBesideTheResults() {
    auto& files = session_->files.files;
    files["/data/atlas.csv"] = DataFile("atlas14-fort-myers-fl.csv");
    files["/data/pond.csv"] = DataFile("example-pond.csv");
    files["/data/bad.csv"] = "duration_min,depth_in\n5,0.5\n10,x\n";
    rh::StartupConfig config = Config(false);
    config.rainfall = "/data/atlas.csv";
    config.ari = "10";
    config.pond = "/data/pond.csv";
    Start(config);
    for (const auto& [name, text] :
         {std::pair{"Text2", "10"}, {"Text4", "10"}, {"Text5", ".85"}, {"Text7", "70"}})
      QTest::keyClicks(Box(name), QString::fromLatin1(text));
    auto& prompts = session_->prompts;
    int rows = 0, rowsAfterRefusal = 0;
    QStringList linesAfter;
    QString copied;
    const ResultsSeen seen = Generate([&](QWidget* results) {
      QWidget* study = OpenStudy(results);
      study->findChild<QListWidget*>("ReturnPeriods")
          ->findItems("100-year", Qt::MatchExactly)
          .front()
          ->setCheckState(Qt::Checked);
      auto* summary = study->findChild<QTableWidget*>("Summary");
      rows = summary->rowCount();
      prompts.nextOpenName = "/data/bad.csv";
      QTest::mouseClick(study->findChild<QPushButton*>("OpenRainfall"), Qt::LeftButton);
      rowsAfterRefusal = summary->rowCount();
      rh::test::WhenModal("ProjectDetails", [](QWidget* details) {
        QTest::keyClicks(details->findChild<QLineEdit*>("Text1"), "Mission Hills");
        QTest::mouseClick(details->findChild<QPushButton*>("Command1"), Qt::LeftButton);
      });
      QTest::mouseClick(study->findChild<QPushButton*>("ProjectDetails"), Qt::LeftButton);
      prompts.nextSaveName = "/data/pond.csv";  // the table the study routes through
      QTest::mouseClick(study->findChild<QPushButton*>("SaveStudy"), Qt::LeftButton);
      prompts.nextSaveName = "/runs/study.pdf";
      QTest::mouseClick(study->findChild<QPushButton*>("SaveStudy"), Qt::LeftButton);
      prompts.nextChoice = 1;
      prompts.nextSaveName = "/runs/hundred.hc1";
      QTest::mouseClick(study->findChild<QPushButton*>("SaveDeck"), Qt::LeftButton);
      auto* list = results->findChild<QListWidget*>("List1");
      list->findChild<QAction*>("CopyTable")->trigger();
      copied = QGuiApplication::clipboard()->text();
      linesAfter = Items(list);
    });
    QCOMPARE(rows, 2);
    QCOMPARE(rowsAfterRefusal, 2);
    QStringList kinds;
    for (const auto& shown : prompts.shown)
      kinds << QString::fromStdString(shown.kind);
    QCOMPARE(kinds, (QStringList{"open", "warning", "save", "warning", "save", "choice", "save"}));
    QVERIFY2(prompts.shown[3].text.find("would replace the pond table") != std::string::npos,
             prompts.shown[3].text.c_str());
    QCOMPARE(files["/data/pond.csv"], DataFile("example-pond.csv"));
    QCOMPARE(prompts.shown[1].title, std::string(rh::messages::kRainfallTableTitle));
    QVERIFY2(prompts.shown[1].text.find("bad.csv, line 3") != std::string::npos,
             prompts.shown[1].text.c_str());
    QCOMPARE(session_->state.Memory.Project.ProjectName, std::string("Mission Hills"));
    QCOMPARE(files["/runs/study.pdf"].substr(0, 4), std::string("%PDF"));
    QCOMPARE(files["/runs/hundred.hc1"].substr(0, 14), std::string("KK hundred.hc1"));
    QCOMPARE(linesAfter, seen.lines);
    const QStringList copiedRows = copied.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(copiedRows.size(), seen.lines.size() - 15);  // the listing's heading and pond lines
    for (const QString& row : copiedRows)
      QCOMPARE(row.count(QLatin1Char('\t')), 4);
  }

  // The study window's storm and pond become the main screen's next run when it runs one storm;
  // its note says the results screen keeps the run it was made with.
  void mainScreenFollowsTheStudyWindowsStorm() {
    session_->files.files["/data/atlas.csv"] = DataFile("atlas14-fort-myers-fl.csv");
    rh::StartupConfig config = Config(false);
    config.rainfall = "/data/atlas.csv";
    config.ari = "10";
    Start(config);
    QVERIFY(Box("Text3")->toolTip().contains(QLatin1String("10-year storm of")));
    // The table's folder is where the next table is looked for.
    QCOMPARE(session_->state.Memory.Folder(rh::DialogFolder::OpenedTables), std::string("/data"));
    for (const auto& [name, text] :
         {std::pair{"Text2", "10"}, {"Text4", "10"}, {"Text5", ".85"}, {"Text7", "70"}})
      QTest::keyClicks(Box(name), QString::fromLatin1(text));
    QStringList notes;
    Generate([&](QWidget* results) {
      QWidget* study = OpenStudy(results);
      auto* note = study->findChild<QLabel*>("ResultsNote");
      notes << note->text();
      study->findChild<QListWidget*>("ReturnPeriods")
          ->findItems("100-year", Qt::MatchExactly)
          .front()
          ->setCheckState(Qt::Checked);
      notes << note->text();
      auto* storm = study->findChild<QComboBox*>("StormChoice");
      storm->setCurrentIndex(0);
      emit storm->activated(0);
      notes << note->text();
    });
    QVERIFY(notes[0].isEmpty());
    QVERIFY2(notes[1].contains(QLatin1String("one storm at a time")), qPrintable(notes[1]));
    QVERIFY2(notes[2].contains(QLatin1String("the 10-year storm of")) &&
                 notes[2].contains(QLatin1String("next run takes")),
             qPrintable(notes[2]));
    QVERIFY(!session_->state.Choices.Rainfall);
    QVERIFY(Box("Text3")->isEnabled());
    QVERIFY(Box("Text3")->text().isEmpty());
  }

  // A study file opened on its own: entries rerun it as they are typed, a refusal sits beside its
  // entry while the results stay, and a save reopens to the same bytes.
  void studyWindowEditsSavesAndReopensAStudyFile() {
    auto& files = session_->files.files;
    auto& prompts = session_->prompts;
    for (const char* name : {"example.rhstudy", "atlas14-fort-myers-fl.csv", "example-pond.json"})
      files[std::string("/study/") + name] = DataFile(name);
    const QPointer<rh::ui::StudyWindow> window =
        rh::ui::StartStudyProgram(session_->context, Config(false), "/study/example.rhstudy");
    QVERIFY(window);
    const auto edit = [&](const char* name, const QString& text) {
      auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name));
      box->selectAll();
      QTest::keyClicks(box, text);
    };
    const auto shown = [&](const char* name) {
      return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(window->windowTitle(), QStringLiteral("example.rhstudy - Study"));
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));

    const struct {
      const char* entry;
      QString text;
      const char* verdict;
      const char* messageBox;  // "" when the entries run
    } steps[] = {
        {"Freeboard", "5", "FAIL", ""},  // the 100-year pond stands 4.61 ft below the top
        {"Freeboard", "0.5", "PASS", ""},
        {"ProposedCoefficient", "1.5", "PASS", "ProposedCoefficientMessage"},
        {"ProposedCoefficient", "0.85", "PASS", ""},
        {"ProposedArea", "40", "FAIL", ""},
        {"ProposedPeak", "200", "FAIL", "ProposedPeakMessage"},  // several storms: chart only
        {"ProposedPeak", "chart", "FAIL", ""},
    };
    for (const auto& step : steps) {
      edit(step.entry, step.text);
      QCOMPARE(shown("StudyVerdict"), QString::fromLatin1(step.verdict));
      if (*step.messageBox != '\0') {
        auto* message = window->findChild<QLabel*>(QString::fromLatin1(step.messageBox));
        QVERIFY2(message->isVisibleTo(window) && !message->text().isEmpty(), step.entry);
      }
    }
    // Return periods from the table's columns: without the 100-year storm the design passes; no
    // storm at all is refused and the results stay.
    auto* periods = window->findChild<QListWidget*>(QStringLiteral("ReturnPeriods"));
    QCOMPARE(periods->count(), 10);
    const auto tick = [&](const QString& name, bool on) {
      periods->findItems(name, Qt::MatchExactly)
          .front()
          ->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    };
    tick(QStringLiteral("100-year"), false);
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));
    tick(QStringLiteral("2-year"), false);
    tick(QStringLiteral("10-year"), false);
    QVERIFY(!shown("StudyMessage").isEmpty());
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));
    for (const char* name : {"2-year", "10-year", "100-year"})
      tick(QString::fromLatin1(name), true);
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("FAIL"));
    QCOMPARE(window->windowTitle(), QStringLiteral("example.rhstudy* - Study"));
    QVERIFY(window->findChild<QPlainTextEdit*>(QStringLiteral("CriteriaTable"))
                ->toPlainText()
                .contains(QStringLiteral("RESULT FAIL")));

    // Saved under a new name in the same folder, then reopened and saved again unchanged.
    prompts.nextSaveName = "/study/bigger.rhstudy";
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SaveStudyAs")),
                      Qt::LeftButton);
    const std::string saved = files["/study/bigger.rhstudy"];
    QVERIFY(saved.find("\"area_acres\": 40") != std::string::npos);
    QVERIFY(saved.find("\"rainfall\": \"atlas14-fort-myers-fl.csv\"") != std::string::npos);
    QCOMPARE(window->windowTitle(), QStringLiteral("bigger.rhstudy - Study"));
    prompts.nextOpenName = "/study/bigger.rhstudy";
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("OpenStudy")), Qt::LeftButton);
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("FAIL"));
    files["/study/bigger.rhstudy"].clear();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SaveStudyFile")),
                      Qt::LeftButton);
    QCOMPARE(files["/study/bigger.rhstudy"], saved);

    // Saving over the table the study reads is refused and writes nothing.
    prompts.nextSaveName = "/study/atlas14-fort-myers-fl.csv";
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SaveStudyAs")),
                      Qt::LeftButton);
    QCOMPARE(files["/study/atlas14-fort-myers-fl.csv"], DataFile("atlas14-fort-myers-fl.csv"));
    QCOMPARE(prompts.shown.back().title, std::string(rh::messages::kStudySaveFaultTitle));

    // Closing with changes asks first; "No" drops them and ends the program.
    edit("ProposedArea", "30");
    prompts.answers = {false};
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
    QCOMPARE(prompts.shown.back().title, std::string(rh::messages::kStudyUnsavedTitle));
    QCOMPARE(files["/study/bigger.rhstudy"], saved);
    QCOMPARE(session_->ends, 1);
  }

  // The storm picked in the window: the county chart at a typed 6-hour rainfall, checked as the
  // main screen checks it, or a rainfall table opened there with all its return periods.
  void studyWindowPicksTheStorm() {
    auto& files = session_->files.files;
    for (const char* name : {"example.rhstudy", "atlas14-fort-myers-fl.csv", "example-pond.json"})
      files[std::string("/study/") + name] = DataFile(name);
    files["/study/tables/atlas.csv"] = DataFile("atlas14-fort-myers-fl.csv");
    const QPointer<rh::ui::StudyWindow> window =
        rh::ui::StartStudyProgram(session_->context, Config(false), "/study/example.rhstudy");
    QVERIFY(window);
    auto* storm = window->findChild<QComboBox*>(QStringLiteral("StudyStorm"));
    auto* p6 = window->findChild<QLineEdit*>(QStringLiteral("StudyP6"));
    auto* periods = window->findChild<QListWidget*>(QStringLiteral("ReturnPeriods"));
    auto* p6Message = window->findChild<QLabel*>(QStringLiteral("StudyP6Message"));
    QVERIFY(!p6->isVisibleTo(window) && periods->isVisibleTo(window));
    storm->setCurrentIndex(0);
    emit storm->activated(0);
    QVERIFY(p6->isVisibleTo(window) && !periods->isVisibleTo(window));
    QCOMPARE(p6->text(), QString());  // the study had no rainfall of its own
    QTest::keyClicks(p6, "x");
    QVERIFY(p6Message->isVisibleTo(window));
    p6->clear();
    QTest::keyClicks(p6, "7.75");
    QVERIFY(!p6Message->isVisibleTo(window));
    session_->prompts.nextSaveName = "/study/chart.rhstudy";
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SaveStudyAs")),
                      Qt::LeftButton);
    QVERIFY(files["/study/chart.rhstudy"].find("\"p6_in\": 7.75") != std::string::npos);

    session_->prompts.nextOpenName = "/study/tables/atlas.csv";
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("StudyOpenRainfall")),
                      Qt::LeftButton);
    QCOMPARE(storm->currentText(), QStringLiteral("atlas.csv"));
    QCOMPARE(periods->count(), 10);
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("StudyMessage"))->text().isEmpty());
    session_->prompts.answers = {false};
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  }

  // The pond designed in the window: an outlet's change turns PASS into FAIL, a refused value is
  // marked where it was typed, outlets are added, reordered and removed through the buttons, a
  // sizing finds its diameter, and the study saved with its pond reopens to the same bytes.
  void studyWindowDesignsThePond() {
    auto& files = session_->files.files;
    for (const char* name : {"example.rhstudy", "atlas14-fort-myers-fl.csv", "example-pond.json"})
      files[std::string("/study/") + name] = DataFile(name);
    const QPointer<rh::ui::StudyWindow> window =
        rh::ui::StartStudyProgram(session_->context, Config(false), "/study/example.rhstudy");
    QVERIFY(window);
    const auto field = [&](const char* name) {
      return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto type = [&](const char* name, const QString& text) {
      field(name)->selectAll();
      QTest::keyClicks(field(name), text);
    };
    const auto shown = [&](const char* name) {
      return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    const auto click = [&](const char* name) {
      QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    };
    window->findChild<QTabWidget*>(QStringLiteral("StudyPages"))->setCurrentIndex(1);
    auto* outlets = window->findChild<QListWidget*>(QStringLiteral("OutletList"));
    QCOMPARE(outlets->count(), 4);
    QCOMPARE(outlets->item(0)->text(), QStringLiteral("low"));
    QCOMPARE(outlets->item(1)->text(), QStringLiteral("weir2"));
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));

    outlets->setCurrentRow(0);
    QCOMPARE(field("Outlet_diameter_in")->text(), QStringLiteral("24"));
    type("Outlet_diameter_in", "0");
    QVERIFY(!shown("PondMessage").isEmpty());
    QVERIFY(field("Outlet_diameter_in")->property("refused").toBool());
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));  // the last pond that ran
    type("Outlet_diameter_in", "48");
    QVERIFY(shown("PondMessage").isEmpty());
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("FAIL"));
    QCOMPARE(window->windowTitle(), QStringLiteral("example.rhstudy* - Study"));

    click("OutletAdd");  // an orifice, sized to sit in the pond
    QCOMPARE(outlets->count(), 5);
    QCOMPARE(outlets->currentRow(), 4);
    QVERIFY(shown("PondMessage").isEmpty());
    click("OutletUp");
    QCOMPARE(outlets->currentRow(), 3);
    QCOMPARE(outlets->item(3)->text(), QStringLiteral("orifice4"));
    click("OutletRemove");
    QCOMPARE(outlets->count(), 4);
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("FAIL"));

    // Sizing the low orifice finds the diameter that passes again.
    auto* dimension = window->findChild<QComboBox*>(QStringLiteral("SizeDimension"));
    dimension->setCurrentIndex(dimension->findData(QStringLiteral("diameter_in")));
    emit dimension->activated(dimension->currentIndex());
    window->findChild<QComboBox*>(QStringLiteral("SizeDevice"))->setCurrentText("low");
    for (const auto& [box, text] : {std::pair{"SizeMin", "30"}, std::pair{"SizeMax", "6"}}) {
      type(box, QString::fromLatin1(text));  // no To yet, then To below From
      QVERIFY(!shown("SizeMessage").isEmpty());
    }
    type("SizeMin", "6");
    type("SizeMax", "30");
    QVERIFY(shown("SizeResult").contains(QLatin1String("in")));
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));
    // Renamed, the sized orifice stays the one sized.
    outlets->setCurrentRow(0);
    type("Outlet_name", "small");
    QCOMPARE(window->findChild<QComboBox*>(QStringLiteral("SizeDevice"))->currentText(),
             QStringLiteral("small"));
    QVERIFY(!window->findChild<QLabel*>(QStringLiteral("SizeMessage"))->isVisibleTo(window));
    QVERIFY(shown("SizeResult").contains(QLatin1String("in")));

    // Saved with the pond it holds; example-pond.json stays as it was.
    session_->prompts.nextSaveName = "/study/designed.rhstudy";
    click("SaveStudyAs");
    const std::string saved = files["/study/designed.rhstudy"];
    QVERIFY(saved.find("\"diameter_in\": 48") != std::string::npos);
    QVERIFY(saved.find("\"size\"") != std::string::npos);
    QCOMPARE(files["/study/example-pond.json"], DataFile("example-pond.json"));
    session_->prompts.nextOpenName = "/study/designed.rhstudy";
    click("OpenStudy");
    QCOMPARE(outlets->count(), 4);
    QCOMPARE(shown("StudyVerdict"), QStringLiteral("PASS"));
    QCOMPARE(window->windowTitle(), QStringLiteral("designed.rhstudy - Study"));
    files["/study/designed.rhstudy"].clear();
    click("SaveStudyFile");
    QCOMPARE(files["/study/designed.rhstudy"], saved);

    // The chart as a picture, under a picture's name only; the criteria table copied.
    session_->prompts.nextSaveName = "/study/atlas14-fort-myers-fl.csv.svg";
    click("SaveImage");
    QVERIFY(files["/study/atlas14-fort-myers-fl.csv.svg"].find("<svg") != std::string::npos);
    session_->prompts.nextSaveName = "/study/atlas14-fort-myers-fl.csv";
    click("SaveImage");  // not a picture's name: refused, nothing written
    QCOMPARE(files["/study/atlas14-fort-myers-fl.csv"], DataFile("atlas14-fort-myers-fl.csv"));
    click("CopyTable");
    QVERIFY(QGuiApplication::clipboard()->text().contains(QLatin1String("RESULT PASS")));

    // Without a pond the criteria that need one are refused; a new pond runs at once.
    click("PondRemove");
    QVERIFY(!shown("StudyMessage").isEmpty());
    QVERIFY(!outlets->isVisibleTo(window));
    click("PondNew");
    QVERIFY(shown("StudyMessage").isEmpty());
    QCOMPARE(outlets->count(), 2);
    session_->prompts.answers = {false};  // the changes are dropped
    click("Command2");
  }

  // The study window's chart reads its flows under the pointer and clears them when the pointer
  // leaves; with the keyboard, from the storm's start a Tc (15 min) at a time.
  void studyChartReadsTheFlowsUnderThePointer() {
    for (const char* name : {"example.rhstudy", "atlas14-fort-myers-fl.csv", "example-pond.json"})
      session_->files.files[std::string("/study/") + name] = DataFile(name);
    const QPointer<rh::ui::StudyWindow> window =
        rh::ui::StartStudyProgram(session_->context, Config(false), "/study/example.rhstudy");
    QVERIFY(window && QTest::qWaitForWindowExposed(window));
    auto* chart = window->findChild<QWidget*>(QStringLiteral("Picture1"));
    auto* readout = window->findChild<QLabel*>(QStringLiteral("ChartReadout"));
    QTest::mouseMove(chart, chart->rect().center());
    const QString read = readout->text();
    for (const char* part : {"t = ", "2-yr ", "10-yr ", "100-yr ", " out "})
      QVERIFY2(read.contains(QLatin1String(part)), qPrintable(read));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(chart, &leave);
    QVERIFY(readout->text().isEmpty());

    chart->setFocus();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left})
      QTest::keyClick(chart, key);
    QVERIFY2(readout->text().startsWith(QStringLiteral("t = 15 min   2-yr in ")),
             qPrintable(readout->text()));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  }

  void everyWindowCarriesTheProgramIcon() {
    rh::ui::SetUpApplication();
    QVERIFY(!Start()->windowIcon().pixmap(64).isNull());
  }
};

QTEST_MAIN(WorkflowTest)
#include "WorkflowTest.moc"
