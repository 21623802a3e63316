// The program binary from start to finish on the offscreen platform, with its three files
// beside it: the three "Next" buttons are pressed and the main screen is closed.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
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

QStringList RunProgram(const Folder& folder, const QString& presses, int* exitCode) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("RH_WINDOW_LOG"), folder.log);
  env.insert(QStringLiteral("RH_TEST_PRESS"), presses);
  process.setProcessEnvironment(env);
  process.start(folder.program, {});
  EXPECT_TRUE(process.waitForStarted(kTimeoutMs));
  if (!process.waitForFinished(kTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "the program did not finish";
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  *exitCode = process.exitCode();
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

}  // namespace
