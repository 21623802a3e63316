// The windowed program. Its folder holds Setup.ini, LICENSE.txt and ORV.jpg.
#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "app/window/Init.h"
#include "app/window/Main.h"
#include "app/window/Settings.h"
#include "core/Faults.h"
#include "core/ShownText.h"
#include "platform/FileSystem.h"
#include "platform/WriteCleanup.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtOutputDevices.h"
#include "ui/Program.h"
#include "ui/framework/Forms.h"
#include "ui/framework/Prompts.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Whether Qt has somewhere to open windows: a display, or a platform named on the command line
// or in the environment.
bool HasWindowPlatform(const std::vector<std::string>& qtArguments) {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM"))
    return true;
  for (const std::string& argument : qtArguments) {
    if (argument == "-platform" || argument == "--platform")
      return true;
  }
  return false;
}

// A window geometry as Qt's -qwindowgeometry reads it, [=][WxH][{+-}X{+-}Y]: a negative offset
// counts from the screen's right or bottom edge.
struct WindowGeometry {
  std::optional<QSize> size;
  std::optional<QPoint> offset;
  bool fromRight = false;
  bool fromBottom = false;
};

std::optional<WindowGeometry> ParseWindowGeometry(const std::string& text) {
  std::size_t i = text.rfind('=', 0) == 0 ? 1 : 0;
  const auto number = [&](int& value) {
    const std::size_t start = i;
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      n = std::min(n * 10 + (text[i] - '0'), 1000000LL);
    value = static_cast<int>(n);
    return i > start;
  };
  WindowGeometry geometry;
  if (i < text.size() && text[i] != '+' && text[i] != '-') {
    int width = 0;
    int height = 0;
    if (!number(width) || i >= text.size() || (text[i] != 'x' && text[i] != 'X'))
      return std::nullopt;
    ++i;
    if (!number(height))
      return std::nullopt;
    geometry.size = QSize(width, height);
  }
  if (i < text.size()) {
    int x = 0;
    int y = 0;
    geometry.fromRight = text[i] == '-';
    if (text[i] != '+' && text[i] != '-')
      return std::nullopt;
    ++i;
    if (!number(x) || i >= text.size() || (text[i] != '+' && text[i] != '-'))
      return std::nullopt;
    geometry.fromBottom = text[i] == '-';
    ++i;
    if (!number(y) || i != text.size())
      return std::nullopt;
    geometry.offset = QPoint(x, y);
  }
  return geometry;
}

// Takes -qwindowgeometry (and -geometry, its X11 spelling) out of Qt's arguments: a window larger
// than the screen makes Qt paint more than it can hold, so the program places the first window
// itself, inside the screen.
std::optional<WindowGeometry> TakeWindowGeometry(std::vector<std::string>& qtArguments) {
  std::optional<WindowGeometry> geometry;
  for (std::size_t i = 1; i + 1 < qtArguments.size();) {
    const std::string& argument = qtArguments[i];
    if (argument == "-qwindowgeometry" || argument == "--qwindowgeometry" ||
        argument == "-geometry" || argument == "--geometry") {
      geometry = ParseWindowGeometry(qtArguments[i + 1]);
      qtArguments.erase(qtArguments.begin() + static_cast<std::ptrdiff_t>(i),
                        qtArguments.begin() + static_cast<std::ptrdiff_t>(i + 2));
    } else {
      ++i;
    }
  }
  return geometry;
}

// Gives the first top-level window the requested geometry, clamped to the screen, as it is shown.
class FirstWindowGeometry : public QObject {
 public:
  explicit FirstWindowGeometry(const WindowGeometry& geometry) : geometry_(geometry) {}

  bool eventFilter(QObject* object, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(object);
    if (event->type() != QEvent::Show || widget == nullptr || !widget->isWindow())
      return false;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      const QRect room = screen->availableGeometry();
      if (geometry_.size) {
        widget->resize(std::min(geometry_.size->width(), room.width()),
                       std::min(geometry_.size->height(), room.height()));
      }
      if (geometry_.offset) {
        const QSize size = widget->frameGeometry().size().boundedTo(room.size());
        int x = geometry_.fromRight ? room.right() + 1 - size.width() - geometry_.offset->x()
                                    : room.left() + geometry_.offset->x();
        int y = geometry_.fromBottom ? room.bottom() + 1 - size.height() - geometry_.offset->y()
                                     : room.top() + geometry_.offset->y();
        x = std::clamp(x, room.left(), room.right() + 1 - size.width());
        y = std::clamp(y, room.top(), room.bottom() + 1 - size.height());
        widget->move(x, y);
      }
    }
    QCoreApplication::instance()->removeEventFilter(this);
    return false;
  }

 private:
  WindowGeometry geometry_;
};

}  // namespace

int main(int argc, char* argv[]) {
  // Interrupted (Ctrl+C, kill), the program removes the temporary files of the writes in flight.
  rh::InstallWriteSignalCleanup();
  // The program's own options come first, so --help and --version need no display.
  const rh::ProgramOptions options =
      rh::ParseProgramOptions(std::vector<std::string>(argv, argv + argc));
  if (options.help) {
    std::fputs(rh::ProgramUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("rational-hydrograph %s\n", rh::kVersion);
    return 0;
  }
  if (!options.problem.empty()) {
    std::fprintf(stderr, "rational-hydrograph: %s\n%s", options.problem.c_str(),
                 rh::messages::kTryProgramHelpText);
    return 64;
  }
  if (!HasWindowPlatform(options.qtArguments)) {
    std::fputs(rh::messages::kNoDisplayText, stderr);
    return 1;
  }

  // Qt takes its own options out of what is left.
  std::vector<std::string> qtArguments = options.qtArguments;
  const std::optional<WindowGeometry> geometry = TakeWindowGeometry(qtArguments);
  std::vector<char*> qtArgv;
  qtArgv.reserve(qtArguments.size() + 1);
  for (std::string& argument : qtArguments)
    qtArgv.push_back(argument.data());
  qtArgv.push_back(nullptr);
  int qtArgc = static_cast<int>(qtArguments.size());
  QApplication app(qtArgc, qtArgv.data());
  if (qtArgc > 1) {
    std::fprintf(stderr, "rational-hydrograph: %s\n%s",
                 rh::ProgramUnknownOptionText(qtArgv[1]).c_str(),
                 rh::messages::kTryProgramHelpText);
    return 64;
  }
  rh::ui::SetUpApplication();
  std::unique_ptr<FirstWindowGeometry> placement;
  if (geometry) {
    placement = std::make_unique<FirstWindowGeometry>(*geometry);
    app.installEventFilter(placement.get());
  }

  auto state = std::make_unique<rh::Init>();
  state->UserSettingsDir = rh::UserSettingsDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  rh::StdFileSystem files;
  rh::QtClock clock;
  rh::ui::QtPrompts prompts;
  rh::QtOutputDevices devices;
  rh::ui::UiContext context{*state, files, clock, prompts, devices, [] { rh::ui::EndProgram(0); }};

  rh::StartupConfig config;
  config.hec1Enabled = rh::kHec1EnabledAtStartup || options.hec1;
  config.installDir = QApplication::applicationDirPath().toStdString() + "/";
  config.root = "/";
  config.rainfall = options.rainfall;
  config.ari = options.ari;
  config.pond = options.pond;
  config.peakChart = options.peakChart;
  if (!options.studyFile.empty() || options.openStudy)
    return rh::ui::RunStudyProgram(context, config, options.studyFile);
  return rh::ui::RunProgram(context, config);
}
