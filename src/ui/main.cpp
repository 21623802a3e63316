// The windowed program. Its folder holds Setup.ini, LICENSE.txt and ORV.jpg.
#include <QApplication>
#include <memory>

#include "Version.h"
#include "app/Init.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtOutputDevices.h"
#include "ui/Program.h"
#include "ui/framework/Forms.h"
#include "ui/framework/Prompts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Rational Method Hydrograph"));
  QApplication::setApplicationVersion(QString::fromLatin1(rh::kVersion));

  auto state = std::make_unique<rh::Init>();
  rh::StdFileSystem files;
  rh::QtClock clock;
  rh::ui::QtPrompts prompts;
  rh::QtOutputDevices devices;
  rh::ui::UiContext context{*state, files, clock, prompts, devices, [] { rh::ui::EndProgram(0); }};

  rh::StartupConfig config;
  config.hec1Enabled = rh::kHec1EnabledAtStartup;
  config.installDir = QApplication::applicationDirPath().toStdString() + "/";
  config.root = "/";
  return rh::ui::RunProgram(context, config);
}
