// The program binary from start to finish on the offscreen platform, with its three files
// beside it: the three "Next" buttons are pressed and the main screen is closed.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <tuple>

namespace {

constexpr int kTimeoutMs = 30000;

struct Folder {
  QTemporaryDir dir;
  QString program;
  QString log;
};

// A program folder holding a copy of the binary and the files it needs beside it.
std::unique_ptr<Folder> ProgramFolder(bool withSettings) {
  auto folder = std::make_unique<Folder>();
  const QString built = QStringLiteral(RH_GUI_PATH);
  const QString builtDir = QFileInfo(built).absolutePath();
  folder->program = folder->dir.filePath(QStringLiteral("rational-hydrograph"));
  folder->log = folder->dir.filePath(QStringLiteral("windows.log"));
  QFile::copy(built, folder->program);
  QStringList files{QStringLiteral("ORV.jpg"), QStringLiteral("LICENSE.txt")};
  if (withSettings)
    files << QStringLiteral("Setup.ini");
  for (const QString& name : files)
    QFile::copy(builtDir + QLatin1Char('/') + name, folder->dir.filePath(name));
  return folder;
}

// Where the program's windows go: Qt's offscreen platform, nowhere (no display at all), or an X
// server of its own under xvfb-run.
enum class Screen { Offscreen, None, Xvfb };

// Runs the program; its per-user settings folder is the folder's "config". Returns the window log.
QStringList RunProgram(const Folder& folder, const QString& presses, int* exitCode,
                       const QStringList& args = {}, Screen screen = Screen::Offscreen,
                       QByteArray* output = nullptr) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    env.remove(QString::fromLatin1(name));
  if (screen == Screen::Offscreen)
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("RH_WINDOW_LOG"), folder.log);
  env.insert(QStringLiteral("RH_TEST_PRESS"), presses);
  process.setProcessEnvironment(env);
  if (screen == Screen::Xvfb)
    process.start(QStringLiteral("xvfb-run"),
                  QStringList{"-a", "-s", "-screen 0 1280x1024x24", folder.program} + args);
  else
    process.start(folder.program, args);
  EXPECT_TRUE(process.waitForStarted(kTimeoutMs));
  if (!process.waitForFinished(kTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "the program did not finish";
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  *exitCode = process.exitCode();
  if (output != nullptr)
    *output = process.readAllStandardOutput();
  const QByteArray errors = process.readAllStandardError();
  EXPECT_FALSE(errors.contains("ERROR: AddressSanitizer")) << errors.toStdString();
  EXPECT_FALSE(errors.contains("ERROR: LeakSanitizer")) << errors.toStdString();
  EXPECT_FALSE(errors.contains("runtime error:")) << errors.toStdString();
  QFile log(folder.log);
  if (!log.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(Program, WalksTheMethodScreensAndClosesCleanly) {
  const auto folder = ProgramFolder(true);
  int exitCode = -1;
  const QStringList log =
      RunProgram(*folder,
                 QStringLiteral("MethodText1.Command1,MethodText2.Command1,MethodText3.Command1,"
                                "MainMenu.close"),
                 &exitCode);
  EXPECT_EQ(exitCode, 0);
  const QStringList expected{"shown MainMenu",       "shown MethodText1",    "unloaded MethodText1",
                             "shown MethodText2",    "unloaded MethodText2", "shown MethodText3",
                             "unloaded MethodText3", "unloaded MainMenu"};
  EXPECT_EQ(log.join(QLatin1Char('|')).toStdString(),
            expected.join(QLatin1Char('|')).toStdString());
}

TEST(Program, CloseBoxActsAsNextAndExitEndsAtOnce) {
  const auto folder = ProgramFolder(true);
  int exitCode = -1;
  const QStringList log = RunProgram(
      *folder,
      QStringLiteral("MethodText1.close,MethodText2.close,MethodText3.close,MainMenu.Command3"),
      &exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(log.size(), 8) << log.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(log.value(6).toStdString(), "unloaded MethodText3");
  EXPECT_EQ(log.value(7).toStdString(), "ended program");
}

// A window geometry far larger than the screen is brought inside it: Qt would otherwise paint a
// window it cannot hold.
TEST(Program, HugeWindowGeometryFitsTheScreen) {
  const auto folder = ProgramFolder(true);
  int exitCode = -1;
  const QStringList log = RunProgram(
      *folder,
      QStringLiteral("MethodText1.close,MethodText2.close,MethodText3.close,MainMenu.Command3"),
      &exitCode, {"-qwindowgeometry", "100000x100000+50000+50000"});
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(log.value(log.size() - 1).toStdString(), "ended program");
}

// --help and --version answer without a display; a plain start without one says so and fails.
TEST(Program, OptionsNeedNoDisplay) {
  const auto folder = ProgramFolder(true);
  const std::tuple<QStringList, int, const char*> cases[] = {
      {{"--help"}, 0, "--hec1"}, {{"--version"}, 0, "1.0.0"}, {{}, 1, ""}};
  for (const auto& [args, status, printed] : cases) {
    int exitCode = -1;
    QByteArray output;
    EXPECT_TRUE(RunProgram(*folder, {}, &exitCode, args, Screen::None, &output).isEmpty());
    EXPECT_EQ(exitCode, status) << args.join(' ').toStdString();
    EXPECT_TRUE(output.contains(printed)) << output.toStdString();
  }
}

// As installed, on a real X server: with --hec1, a run, its plot window and "Exit". The deck is
// written and its path kept in the new per-user settings file; the shipped one is left alone.
TEST(Program, RunsOnAnXServerWithHec1AndPerUserSettings) {
  if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() ||
      QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
    GTEST_SKIP() << "Xvfb is not installed (Debian packages xvfb and xauth)";
  const auto folder = ProgramFolder(true);
  const auto read = [&](const QString& name) {
    QFile file(folder->dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  };
  const QByteArray shipped = read(QStringLiteral("Setup.ini"));
  const QString deck = folder->dir.filePath(QStringLiteral("RUN1.hc1"));
  const QString rainfall = QStringLiteral(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");
  const QString pond = QStringLiteral(RH_TEST_DATA_DIR "/example-pond.csv");
  int exitCode = -1;
  const QStringList log = RunProgram(
      *folder,
      QStringLiteral("MethodText1.Command1,MethodText2.Command1,MethodText3.Command1,"
                     "MainMenu.Text2=10,MainMenu.Text3=2.5,MainMenu.Text4=100,MainMenu.Text5=.85,"
                     "MainMenu.Text7=250,MainMenu.Text1=%1,MainMenu.Command1,Generate.Command4,"
                     "PlotWindow.Command2,Generate.Command1,MainMenu.Command3")
          .arg(deck),
      &exitCode, {"--hec1"}, Screen::Xvfb);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(
      log.join('|').contains("shown PlotWindow|unloaded PlotWindow|unloaded Generate|"
                             "ended program"))
      << log.join('|').toStdString();
  EXPECT_TRUE(read(QStringLiteral("RUN1.hc1")).startsWith("KK RUN1.hc1"));
  EXPECT_TRUE(read(QStringLiteral("config/rational-hydrograph/Setup.ini")).contains(deck.toUtf8()));
  EXPECT_EQ(read(QStringLiteral("Setup.ini")), shipped);
}

// Started for a study on a real X server: a rainfall table's return period and a pond at
// start-up, a run, its study window beside the results and the study PDF saved.
TEST(Program, RunsOnAnXServerWithATableAPondAndAStudy) {
  if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() ||
      QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
    GTEST_SKIP() << "Xvfb is not installed (Debian packages xvfb and xauth)";
  const auto folder = ProgramFolder(true);
  const QString study = folder->dir.filePath(QStringLiteral("study.pdf"));
  const QString rainfall = QStringLiteral(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv");
  const QString pond = QStringLiteral(RH_TEST_DATA_DIR "/example-pond.csv");
  int exitCode = -1;
  const QStringList log = RunProgram(
      *folder,
      QStringLiteral("MethodText1.Command1,MethodText2.Command1,MethodText3.Command1,"
                     "MainMenu.Text2=10,MainMenu.Text4=10,MainMenu.Text5=.85,MainMenu.Text7=80,"
                     "MainMenu.Command1,Generate.Command4,PlotWindow.SaveStudy,SaveDialog.name=%1,"
                     "PlotWindow.Command2,Generate.Command1,MainMenu.Command3")
          .arg(study),
      &exitCode,
      {QStringLiteral("--rainfall"), rainfall, QStringLiteral("--ari"), QStringLiteral("100"),
       QStringLiteral("--pond"), pond},
      Screen::Xvfb);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(
      log.join('|').contains("shown PlotWindow|unloaded PlotWindow|unloaded Generate|"
                             "ended program"))
      << log.join('|').toStdString();
  QFile pdf(study);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
}

}  // namespace
