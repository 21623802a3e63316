#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FakeDirectories.h"
#include "app/window/FileSelection.h"
#include "app/window/Init.h"
#include "core/Faults.h"
#include "platform/Directories.h"

namespace rh {
namespace {

using Names = std::vector<std::string>;

// Records what the dialog asks of its window.
class FakeView : public FileSelectionView {
 public:
  void Centre() override { ++centred; }
  void ClearPatterns() override { patterns.clear(); }
  void AddPattern(const std::string& p) override { patterns.push_back(p); }
  std::string PatternText() override { return patternText; }
  void SetPatternText(const std::string& t) override { patternText = t; }
  void ClearPatternSelection() override { ++selectionResets; }
  void SetReadout(const std::string& t) override { readout = t; }
  void RepaintReadout() override { ++repaints; }
  void ShowWarning(const std::string& title, const std::string& text) override {
    warnings.emplace_back(title, text);
  }
  void ListsChanged() override { ++redraws; }
  void Unload() override { unloaded = true; }

  int centred = 0, selectionResets = 0, repaints = 0, redraws = 0;
  Names patterns;
  std::string patternText = "Combo1";
  std::string readout;
  std::vector<std::pair<std::string, std::string>> warnings;
  bool unloaded = false;
};

// A tree with a deck at the root, decks in a subdirectory and a second drive.
test::FakeDirectories Tree() {
  test::FakeDirectories d;
  d.drives = {"/", "/media/usb"};
  d.cwd = "/home/eng";
  d.AddDir("/home/eng");
  for (const char* f : {"/RUN.HC1", "/notes.txt", "/README", "/runs/A.HC1", "/runs/b.hc1",
                        "/runs/old/c.hc1", "/media/usb/d.hc1", "/media/usb/decks/e.hc1"})
    d.AddFile(f);
  return d;
}

Init FreshState() {
  Init s;
  InitializeState(s, true, "/opt/rh/", "/");
  s.ReportPath = "/opt/rh/report.hc1";
  s.SelectedPath = s.ReportPath;
  return s;
}

// One dialog session: the state, the tree, the view and the dialog, loaded.
struct Session {
  explicit Session(test::FakeDirectories tree, Init start = FreshState())
      : state(std::move(start)), dirs(std::move(tree)), dialog(state, dirs, view) {
    dialog.Load();
  }
  void Click(const std::string& name) {
    const auto& items = dialog.FileList().Items();
    const auto it = std::find(items.begin(), items.end(), name);
    ASSERT_NE(it, items.end()) << name << " is not listed";
    dialog.ClickFile(static_cast<int>(it - items.begin()));
  }
  void Pattern(const std::string& text) {
    view.patternText = text;
    dialog.PickPattern();
  }

  Init state;
  test::FakeDirectories dirs;
  FakeView view;
  FileSelection dialog;
};

TEST(FileSelection, FirstOpeningShowsTheRootWithTheDeckPattern) {
  Session s(Tree());
  EXPECT_EQ(s.view.centred, 1);
  EXPECT_EQ(s.view.patterns, (Names{"*.hc1", "*.*"}));
  EXPECT_EQ(s.view.patternText, "*.hc1");
  EXPECT_EQ(s.dialog.CurrentDrive(), "/");
  EXPECT_EQ(s.dialog.CurrentDir(), "/");
  EXPECT_EQ(s.dialog.CurrentFile(), "");
  EXPECT_EQ(s.view.readout, "/");
  EXPECT_EQ(s.dialog.DirList().Path(), "/");
  EXPECT_EQ(s.dialog.FileList().Items(), (Names{"RUN.HC1"}));

  s.Pattern("*.*");
  EXPECT_EQ(s.dialog.FileList().Items(), (Names{"notes.txt", "README", "RUN.HC1"}));
  EXPECT_EQ(s.view.selectionResets, 1);
  EXPECT_TRUE(s.view.warnings.empty());
}

TEST(FileSelection, DirectoryListShowsAncestorsThenSubdirectories) {
  Session s(Tree());
  s.dialog.OpenDirectory("/runs");
  Names paths;
  for (const auto& item : s.dialog.DirList().Items())
    paths.push_back(item.path);
  EXPECT_EQ(paths, (Names{"/", "/runs", "/runs/old"}));
  EXPECT_EQ(s.dialog.DirList().IndexOfPath(), 1);
  s.dialog.OpenDirectory("..");  // relative to the list's path
  EXPECT_EQ(s.dialog.CurrentDir(), "/");
}

// Workflows that end with "OK" or "Cancel", and what they leave in the global state.
TEST(FileSelection, WorkflowsAndWhatTheyStore) {
  struct Case {
    const char* name;
    std::function<void(Session&)> steps;
    bool accepted;         // "OK" stored a choice and closed the dialog
    const char* selected;  // SelectedPath afterwards
    const char* lastDrive;
    const char* lastDir;
    const char* readout;  // the read-out just before "OK"
  };
  const Case cases[] = {
      {"file at the root: doubled separator", [](Session& s) { s.Click("RUN.HC1"); }, true,
       "//RUN.HC1", "/", "/", "//RUN.HC1"},
      {"file in a subdirectory",
       [](Session& s) {
         s.dialog.OpenDirectory("/runs");
         s.Click("b.hc1");
       },
       true, "/runs/b.hc1", "/", "/runs", "/runs/b.hc1"},
      {"file on another drive",
       [](Session& s) {
         s.dialog.PickDrive("/media/usb");
         s.dialog.OpenDirectory("decks");
         s.Click("e.hc1");
       },
       true, "/media/usb/decks/e.hc1", "/media/usb", "/media/usb/decks", "/media/usb/decks/e.hc1"},
      {"pattern change keeps the clicked file",
       [](Session& s) {
         s.Click("RUN.HC1");
         s.Pattern("*.*");
       },
       true, "//RUN.HC1", "/", "/", "//RUN.HC1"},
      {"typed pattern keeps the clicked file",
       [](Session& s) {
         s.Click("RUN.HC1");
         s.view.patternText = "*.tx";
         s.dialog.EditPattern();
       },
       true, "//RUN.HC1", "/", "/", "//RUN.HC1"},
      {"last click counts",
       [](Session& s) {
         s.dialog.OpenDirectory("/runs");
         s.Click("A.HC1");
         s.Click("b.hc1");
       },
       true, "/runs/b.hc1", "/", "/runs", "/runs/b.hc1"},
      {"no click: warning", [](Session&) {}, false, "/opt/rh/report.hc1", "/", "/", "/"},
      {"click then directory change: warning",
       [](Session& s) {
         s.Click("RUN.HC1");
         s.dialog.OpenDirectory("/runs");
       },
       false, "/opt/rh/report.hc1", "/", "/", "/runs"},
      {"click then drive change: warning",
       [](Session& s) {
         s.Click("RUN.HC1");
         s.dialog.PickDrive("/media/usb");
       },
       false, "/opt/rh/report.hc1", "/", "/", "/media/usb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(Tree());
    c.steps(s);
    EXPECT_EQ(s.view.readout, c.readout);
    s.dialog.PressOk();
    EXPECT_EQ(s.view.unloaded, c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(s.view.warnings.empty());
    } else {
      ASSERT_EQ(s.view.warnings.size(), 1u);
      EXPECT_EQ(s.view.warnings[0].first, messages::kNoFileTitle);
      EXPECT_EQ(s.view.warnings[0].second, messages::kNoFileText);
    }
    EXPECT_EQ(s.state.SelectedPath, c.selected);
    EXPECT_EQ(s.state.LastDrive, c.lastDrive);
    EXPECT_EQ(s.state.LastDir, c.lastDir);
  }
}

TEST(FileSelection, CancelStoresNothing) {
  Session s(Tree());
  s.dialog.PickDrive("/media/usb");
  s.Click("d.hc1");
  s.dialog.PressCancel();
  EXPECT_TRUE(s.view.unloaded);
  EXPECT_EQ(s.state.SelectedPath, "/opt/rh/report.hc1");
  EXPECT_EQ(s.state.LastDrive, "/");
  EXPECT_EQ(s.state.LastDir, "/");
}

TEST(FileSelection, DriveChangeShowsTheDriveAndRunsTheDirectoryHandler) {
  Session s(Tree());
  s.dialog.OpenDirectory("/runs");
  const int repaints = s.view.repaints;
  s.dialog.PickDrive("/media/usb");
  EXPECT_EQ(s.dialog.CurrentDrive(), "/media/usb");
  EXPECT_EQ(s.dialog.CurrentDir(), "/media/usb");
  EXPECT_EQ(s.dialog.DirList().Path(), "/media/usb");
  EXPECT_EQ(s.dialog.FileList().Path(), "/media/usb");
  EXPECT_EQ(s.dialog.FileList().Items(), (Names{"d.hc1"}));
  EXPECT_EQ(s.view.readout, "/media/usb");
  // OnDirChange repaints inside OnDriveChange, which repaints again at its end.
  EXPECT_EQ(s.view.repaints - repaints, 2);
}

// The next "Browse" after an "OK": the stored directory is restored only when the stored drive is
// the one the drive list starts on; another drive's change handler replaces the directory first.
TEST(FileSelection, ReopeningAfterOk) {
  struct {
    const char* name;
    const char* lastDrive;
    const char* lastDir;
    const char* opensOn;
  } cases[] = {
      {"stored drive is the starting drive", "/", "/runs/old", "/runs/old"},
      {"stored drive is another drive", "/media/usb", "/media/usb/decks", "/media/usb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Init state = FreshState();
    state.LastDrive = c.lastDrive;
    state.LastDir = c.lastDir;
    Session s(Tree(), state);
    EXPECT_EQ(s.dialog.CurrentDir(), c.opensOn);
    EXPECT_EQ(s.dialog.DirList().Path(), c.opensOn);
    EXPECT_EQ(s.dialog.FileList().Path(), c.opensOn);
    EXPECT_EQ(s.view.readout, c.opensOn);
    EXPECT_EQ(s.dialog.CurrentDrive(), c.lastDrive);
    EXPECT_TRUE(s.view.warnings.empty());
  }
}

// A drive or directory that cannot be read: reported, and the dialog stays where it was.
TEST(FileSelection, UnreadablePlacesAreReportedAndTheDialogStaysUsable) {
  struct {
    const char* name;
    std::function<void(Session&)> action;
  } cases[] = {
      {"directory opened", [](Session& s) { s.dialog.OpenDirectory("/runs/locked"); }},
      {"missing directory opened", [](Session& s) { s.dialog.OpenDirectory("/runs/gone"); }},
      {"drive with no medium picked", [](Session& s) { s.dialog.PickDrive("/media/cd"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeDirectories tree = Tree();
    tree.drives.emplace_back("/media/cd");
    tree.AddDir("/media/cd");
    tree.AddDir("/runs/locked");
    tree.unreadable = {"/media/cd", "/runs/locked"};
    Session s(std::move(tree));
    s.dialog.OpenDirectory("/runs");
    s.Click("A.HC1");

    c.action(s);
    ASSERT_EQ(s.view.warnings.size(), 1u);
    EXPECT_EQ(s.view.warnings[0].first, messages::kDriveFaultTitle);
    EXPECT_FALSE(s.view.unloaded);
    EXPECT_EQ(s.dialog.DriveList().Drive(), "/");
    EXPECT_EQ(s.dialog.CurrentDrive(), "/");
    EXPECT_EQ(s.dialog.CurrentDir(), "/runs");
    EXPECT_EQ(s.dialog.DirList().Path(), "/runs");
    EXPECT_EQ(s.dialog.FileList().Items(), (Names{"A.HC1", "b.hc1"}));
    EXPECT_EQ(s.view.readout, "/runs/A.HC1");

    // Still usable: another file and "OK".
    s.Click("b.hc1");
    s.dialog.PressOk();
    EXPECT_TRUE(s.view.unloaded);
    EXPECT_EQ(s.state.SelectedPath, "/runs/b.hc1");
  }
}

TEST(FileSelection, UnreadableStoredDirectoryOpensWhereTheListsStart) {
  Init state = FreshState();
  state.LastDir = "/runs/old";
  test::FakeDirectories tree = Tree();
  tree.unreadable = {"/runs/old"};
  Session s(std::move(tree), state);
  ASSERT_EQ(s.view.warnings.size(), 1u);
  EXPECT_EQ(s.view.warnings[0].first, messages::kDriveFaultTitle);
  EXPECT_EQ(s.dialog.CurrentDir(), "/home/eng");
  EXPECT_EQ(s.dialog.DirList().Path(), "/home/eng");
  EXPECT_EQ(s.dialog.FileList().Pattern(), "*.hc1");
  EXPECT_EQ(s.view.readout, "/home/eng");
  EXPECT_EQ(s.view.patterns, (Names{"*.hc1", "*.*"}));
}

// The first opening and a subdirectory pick on real directories.
TEST(FileSelection, WorksOnATemporaryDirectoryTree) {
  namespace fs = std::filesystem;
  const fs::path root =
      fs::temp_directory_path() /
      ("rh-select-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::remove_all(root);
  fs::create_directories(root / "runs" / "old");
  for (const char* f : {"top.hc1", "runs/Basin A.HC1", "runs/basin-b.hc1", "runs/notes.txt"})
    std::ofstream(root / f) << "KK\n";

  Init state = FreshState();
  StdDirectories dirs;
  state.LastDrive = DriveOf(dirs.CurrentDirectory(), dirs.Drives());  // no drive change at load
  state.LastDir = root.string();
  FakeView view;
  {
    FileSelection dialog(state, dirs, view);
    dialog.Load();
    EXPECT_EQ(dialog.CurrentDir(), root.string());
    EXPECT_EQ(dialog.FileList().Items(), (Names{"top.hc1"}));
    dialog.OpenDirectory("runs");
    EXPECT_EQ(dialog.FileList().Items(), (Names{"Basin A.HC1", "basin-b.hc1"}));
    view.patternText = "*.*";
    dialog.PickPattern();
    EXPECT_EQ(dialog.FileList().Items(), (Names{"Basin A.HC1", "basin-b.hc1", "notes.txt"}));
    dialog.ClickFile(0);
    dialog.PressOk();
  }
  EXPECT_TRUE(view.warnings.empty());
  EXPECT_EQ(state.SelectedPath, (root / "runs" / "Basin A.HC1").string());
  EXPECT_EQ(state.LastDir, (root / "runs").string());
  fs::remove_all(root);
}

}  // namespace
}  // namespace rh
