// Speed of the windowed program on the offscreen platform: process start until the main screen
// takes input, and "Generate" until the results screen is shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <memory>

#include "app/window/Init.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtOutputDevices.h"
#include "ui/Generate.h"
#include "ui/MainMenu.h"
#include "ui/StudyWindow.h"
#include "ui/framework/Forms.h"
#include "ui/framework/Prompts.h"

namespace {

QProcessEnvironment ProgramEnvironment(const QString& presses, const QString& log) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("RH_TEST_PRESS"), presses);
  env.insert(QStringLiteral("RH_WINDOW_LOG"), log);
  return env;
}

// Waits until the window log holds `line`; false after 10 s.
bool WaitForLine(const QString& log, const QByteArray& line) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 10000) {
    QFile file(log);
    if (file.open(QIODevice::ReadOnly) && file.readAll().contains(line))
      return true;
    QThread::usleep(1000);
  }
  return false;
}

// Process start until the main screen is displayed with the first method screen over it.
void BM_StartToMainScreenShown(benchmark::State& state) {
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("windows.log"));
  for (auto _ : state) {
    QFile::remove(log);
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment({}, log));
    const auto start = std::chrono::steady_clock::now();
    program.start(QStringLiteral(RH_GUI_PATH), {});
    if (!WaitForLine(log, "shown MethodText1"))
      state.SkipWithError("the method screen never showed");
    const auto shown = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    program.kill();
    program.waitForFinished();
  }
}
BENCHMARK(BM_StartToMainScreenShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Process start, the three "Next" presses (the main screen then takes input), closing the main
// screen and the process ending: an upper bound of start-to-input.
void BM_StartThroughMethodScreensToExit(benchmark::State& state) {
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("windows.log"));
  const QString walk = QStringLiteral(
      "MethodText1.Command1,MethodText2.Command1,MethodText3.Command1,MainMenu.close");
  for (auto _ : state) {
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(walk, log));
    const auto start = std::chrono::steady_clock::now();
    program.start(QStringLiteral(RH_GUI_PATH), {});
    if (!program.waitForFinished(10000) || program.exitCode() != 0)
      state.SkipWithError("the program did not end cleanly");
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
}
BENCHMARK(BM_StartThroughMethodScreensToExit)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// "Generate" pressed until the results screen is displayed and the event loop runs again.
void BM_GenerateToResultsShown(benchmark::State& state) {
  auto init = std::make_unique<rh::Init>();
  init->LogoPath = RH_RESOURCES_DIR "/ORV.jpg";
  rh::StdFileSystem files;
  rh::QtClock clock;
  rh::ui::QtPrompts prompts;
  rh::QtOutputDevices devices;
  rh::ui::UiContext context{*init, files, clock, prompts, devices, [] {}};
  auto* mainMenu = new rh::ui::MainMenu(context);
  rh::ui::ShowModeless(mainMenu);
  const char* entries[][2] = {
      {"Text2", "10"}, {"Text3", "2.5"}, {"Text4", "100"}, {"Text5", ".85"}, {"Text7", "250"}};
  for (const auto& entry : entries)
    mainMenu->findChild<QLineEdit*>(QLatin1String(entry[0]))->setText(QLatin1String(entry[1]));
  auto* generate = mainMenu->findChild<QPushButton*>(QStringLiteral("Command1"));

  for (auto _ : state) {
    std::chrono::steady_clock::time_point shown;
    QTimer::singleShot(0, [&shown] {
      shown = std::chrono::steady_clock::now();
      if (QWidget* results = QApplication::activeModalWidget())
        results->close();
    });
    const auto start = std::chrono::steady_clock::now();
    generate->click();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
  delete mainMenu;
}
BENCHMARK(BM_GenerateToResultsShown)->UseManualTime()->Unit(benchmark::kMillisecond);

// A study window over the example study of 4 storms (2, 10, 25 and 100 yr) through its designed
// pond, in a folder of its own with the study's tables; with `sized`, the study also sizes the low
// orifice's diameter from 6 to 30 in on every run.
class StudyWindowFixture {
 public:
  explicit StudyWindowFixture(bool sized) {
    for (const char* table : {"atlas14-fort-myers-fl.csv", "example-pond.json"})
      QFile::copy(QStringLiteral(RH_TEST_DATA_DIR "/") + QLatin1String(table),
                  dir_.filePath(QLatin1String(table)));
    QFile example(QStringLiteral(RH_TEST_DATA_DIR "/example.rhstudy"));
    example.open(QIODevice::ReadOnly);
    QByteArray study = example.readAll();
    study.replace("\"return_periods\": [\n      2,\n      10,\n      100\n    ]",
                  "\"return_periods\": [2, 10, 25, 100]");
    if (sized)
      study.replace("\"hec1\": false",
                    "\"size\": {\"device\": \"low\", \"dimension\": \"diameter_in\", \"min\": 6, "
                    "\"max\": 30},\n  \"hec1\": false");
    const QString path = dir_.filePath(QStringLiteral("four.rhstudy"));
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(study);
    out.close();
    window_ = new rh::ui::StudyWindow(context_, nullptr, path.toStdString(), false);
    rh::ui::ShowModeless(window_);
  }
  ~StudyWindowFixture() { delete window_; }
  StudyWindowFixture(const StudyWindowFixture&) = delete;
  StudyWindowFixture& operator=(const StudyWindowFixture&) = delete;

  rh::ui::StudyWindow& Window() { return *window_; }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<rh::Init> init_ = std::make_unique<rh::Init>();
  rh::StdFileSystem files_;
  rh::QtClock clock_;
  rh::ui::QtPrompts prompts_;
  rh::QtOutputDevices devices_;
  rh::ui::UiContext context_{*init_, files_, clock_, prompts_, devices_, [] {}};
  rh::ui::StudyWindow* window_ = nullptr;
};

// One keystroke in the study window: the proposed area typed anew until the study has run again
// and the window has painted it.
void BM_StudyWindowKeystrokeShown(benchmark::State& state) {
  StudyWindowFixture study(false);
  rh::ui::StudyWindow* window = &study.Window();
  auto* area = window->findChild<QLineEdit*>(QStringLiteral("ProposedArea"));
  bool wider = false;
  for (auto _ : state) {
    wider = !wider;
    const auto start = std::chrono::steady_clock::now();
    area->setText(wider ? QStringLiteral("21") : QStringLiteral("20"));
    window->OnEntryEdited();
    window->repaint();
    const auto shown = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}
BENCHMARK(BM_StudyWindowKeystrokeShown)->UseManualTime()->Unit(benchmark::kMillisecond);

// One keystroke in the pond editor over the same study: the low orifice's diameter typed anew
// until the study has run again and the window has painted it; with the argument 1, with the
// sizing on every run.
void BM_StudyWindowPondEditShown(benchmark::State& state) {
  StudyWindowFixture study(state.range(0) == 1);
  rh::ui::StudyWindow* window = &study.Window();
  window->findChild<QTabWidget*>(QStringLiteral("StudyPages"))->setCurrentIndex(1);
  auto* diameter = window->findChild<QLineEdit*>(QStringLiteral("Outlet_diameter_in"));
  bool wider = false;
  for (auto _ : state) {
    wider = !wider;
    const auto start = std::chrono::steady_clock::now();
    const QString text = wider ? QStringLiteral("25") : QStringLiteral("24");
    diameter->setText(text);
    emit diameter->textEdited(text);
    window->repaint();
    const auto shown = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}
BENCHMARK(BM_StudyWindowPondEditShown)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
