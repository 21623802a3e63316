// The program binary from start to finish on the offscreen platform, with its three files
// beside it: the three "Next" buttons are pressed and the main screen is closed.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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

// How the program is started: by default on the offscreen platform without arguments.
struct Launch {
  QString wrapper;               // a program that starts it (xvfb-run), "" for none
  QStringList wrapperArgs;       // the wrapper's own arguments
  QStringList args;              // the program's arguments
  bool offscreen = true;         // false: no Qt platform, display or settings folder from outside
  QString configHome;            // XDG_CONFIG_HOME, "" to leave it as it is
  QByteArray* output = nullptr;  // receives standard output when given
};

QStringList RunProgram(const Folder& folder, const QString& presses, int* exitCode,
                       const Launch& launch = {}) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (launch.offscreen) {
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  } else {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
      env.remove(QString::fromLatin1(name));
  }
  if (!launch.configHome.isEmpty())
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), launch.configHome);
  env.insert(QStringLiteral("RH_WINDOW_LOG"), folder.log);
  env.insert(QStringLiteral("RH_TEST_PRESS"), presses);
  process.setProcessEnvironment(env);
  if (launch.wrapper.isEmpty())
    process.start(folder.program, launch.args);
  else
    process.start(launch.wrapper, launch.wrapperArgs + QStringList{folder.program} + launch.args);
  EXPECT_TRUE(process.waitForStarted(kTimeoutMs));
  if (!process.waitForFinished(kTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "the program did not finish";
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  *exitCode = process.exitCode();
  if (launch.output != nullptr)
    *launch.output = process.readAllStandardOutput();
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

// --help and --version answer without a display; a plain start without one says so and fails
// rather than aborting.
TEST(Program, OptionsNeedNoDisplay) {
  const auto folder = ProgramFolder(true);
  struct {
    QStringList args;
    int exitCode;
    const char* printed;
  } cases[] = {
      {{"--help"}, 0, "--hec1"},
      {{"--version"}, 0, "1.0.0"},
      {{}, 1, ""},
  };
  for (const auto& c : cases) {
    int exitCode = -1;
    QByteArray output;
    Launch launch;
    launch.args = c.args;
    launch.offscreen = false;
    launch.output = &output;
    const QStringList log = RunProgram(*folder, {}, &exitCode, launch);
    EXPECT_EQ(exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_TRUE(output.contains(c.printed)) << output.toStdString();
    EXPECT_TRUE(log.isEmpty()) << "a window opened";
  }
}

// The installed program's way: on a real X server (Xvfb), with --hec1 and a fresh per-user
// settings folder, a run from the main screen, its plot window and the results, then "Exit". The
// deck is written, the deck path kept in the per-user settings file, the shipped one left alone.
TEST(Program, RunsOnAnXServerWithHec1AndPerUserSettings) {
  const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfbRun.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
    GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
  const auto folder = ProgramFolder(true);
  const QString shipped = folder->dir.filePath(QStringLiteral("Setup.ini"));
  QFile shippedFile(shipped);
  ASSERT_TRUE(shippedFile.open(QIODevice::ReadOnly));
  const QByteArray shippedText = shippedFile.readAll();
  const QString deck = folder->dir.filePath(QStringLiteral("runs-RUN1.hc1"));
  const QString config = folder->dir.filePath(QStringLiteral("config"));

  Launch launch;
  launch.wrapper = xvfbRun;
  launch.wrapperArgs = QStringList{"-a", "-s", "-screen 0 1280x1024x24"};
  launch.args = QStringList{"--hec1"};
  launch.offscreen = false;
  launch.configHome = config;
  int exitCode = -1;
  const QStringList log = RunProgram(
      *folder,
      QStringLiteral("MethodText1.Command1,MethodText2.Command1,MethodText3.Command1,"
                     "MainMenu.Text2=10,MainMenu.Text3=2.5,MainMenu.Text4=100,MainMenu.Text5=.85,"
                     "MainMenu.Text7=250,MainMenu.Text1=%1,MainMenu.Command1,Generate.Command4,"
                     "PlotWindow.Command2,Generate.Command1,MainMenu.Command3")
          .arg(deck),
      &exitCode, launch);
  EXPECT_EQ(exitCode, 0);
  const QString shown = log.join(QLatin1Char('|'));
  EXPECT_TRUE(
      shown.contains(QLatin1String("shown Generate|shown PlotWindow|unloaded PlotWindow|"
                                   "unloaded Generate|ended program")))
      << shown.toStdString();
  EXPECT_TRUE(QFile::exists(deck));
  QFile user(config + QStringLiteral("/rational-hydrograph/Setup.ini"));
  ASSERT_TRUE(user.open(QIODevice::ReadOnly));
  EXPECT_TRUE(user.readAll().contains(deck.toUtf8()));
  shippedFile.close();
  ASSERT_TRUE(shippedFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(shippedFile.readAll(), shippedText);
}

}  // namespace
