// Opening the file selection dialog on a folder of many files: the lists alone, and the whole
// dialog window with its widgets filled (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/window/FileSelection.h"
#include "app/window/Init.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtOutputDevices.h"
#include "ui/DirFileSelect.h"
#include "ui/UiContext.h"
#include "ui/framework/Prompts.h"

namespace {

namespace fs = std::filesystem;

// A folder of `count` deck files and a few others, made once per size.
fs::path Folder(int count) {
  fs::path dir = fs::temp_directory_path() / ("rh-bench-" + std::to_string(count));
  if (!fs::exists(dir / "done")) {
    fs::create_directories(dir / "sub");
    for (int i = 0; i < count; ++i)
      std::ofstream(dir / ("run" + std::to_string(i) + (i % 10 == 0 ? ".txt" : ".hc1")));
    std::ofstream(dir / "done");
  }
  return dir;
}

class NullView : public rh::FileSelectionView {
 public:
  void Centre() override {}
  void ClearPatterns() override {}
  void AddPattern(const std::string&) override {}
  std::string PatternText() override { return text; }
  void SetPatternText(const std::string& t) override { text = t; }
  void ClearPatternSelection() override {}
  void SetReadout(const std::string&) override {}
  void RepaintReadout() override {}
  void ShowWarning(const std::string&, const std::string&) override {}
  void ListsChanged() override {}
  void Unload() override {}
  std::string text;
};

rh::Init StateOn(const fs::path& dir, rh::Directories& dirs) {
  rh::Init s;
  rh::InitializeState(s, true, "/opt/rh/", "/");
  s.LastDrive = rh::DriveOf(dirs.CurrentDirectory(), dirs.Drives());
  s.LastDir = dir.string();
  return s;
}

void BM_SelectionLoad(benchmark::State& bench) {
  const fs::path dir = Folder(static_cast<int>(bench.range(0)));
  rh::StdDirectories dirs;
  rh::Init s = StateOn(dir, dirs);
  for (auto _ : bench) {
    NullView view;
    rh::FileSelection selection(s, dirs, view);
    selection.Load();
    benchmark::DoNotOptimize(selection.FileList().Items().size());
  }
}
BENCHMARK(BM_SelectionLoad)->Arg(10000)->Unit(benchmark::kMillisecond);

class NoPrompts : public rh::ui::Prompts {
 public:
  void Warning(QWidget*, const std::string&, const std::string&) override {}
  bool Question(QWidget*, const std::string&, const std::string&) override { return false; }
  std::string OpenFileName(QWidget*, const std::string&, const std::string&,
                           const std::string&) override {
    return "";
  }
  std::optional<std::size_t> Choose(QWidget*, const std::string&, const std::string&,
                                    const std::vector<std::string>&) override {
    return std::nullopt;
  }

 protected:
  std::string AskSaveFileName(QWidget*, const std::string&, const std::string&, const std::string&,
                              std::string&) override {
    return "";
  }
};

class NoClock : public rh::Clock {
 public:
  std::string ShortDate() override { return ""; }
  std::int64_t UtcSeconds() override { return 0; }
};

// The window as "Browse" opens it: built, loaded, shown and painted once.
void BM_DialogOpen(benchmark::State& bench) {
  const fs::path dir = Folder(static_cast<int>(bench.range(0)));
  rh::StdDirectories dirs;
  rh::Init s = StateOn(dir, dirs);
  rh::StdFileSystem files;
  NoClock clock;
  NoPrompts prompts;
  rh::QtOutputDevices devices;
  rh::ui::UiContext context{s, files, clock, prompts, devices, {}};
  for (auto _ : bench) {
    auto* dialog = new rh::ui::DirFileSelect(context, nullptr);
    dialog->OnLoad();
    dialog->show();
    QApplication::processEvents();
    bench.PauseTiming();
    delete dialog;
    QApplication::processEvents();
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_DialogOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
