#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Fakes.h"
#include "app/window/Main.h"
#include "app/window/Settings.h"
#include "core/Faults.h"

namespace rh {
namespace {

constexpr const char* kDir = "/opt/rh/";
constexpr const char* kSetup = "/opt/rh/Setup.ini";
const std::string kHeadings =
    "[Orvane Engineering Company - Rational Method Hydrograph Setup.ini]\r\n"
    "[*** Hydrograph report Path/Filename ***]\r\n";

Init Fresh(bool hec1 = false) {
  Init s;
  InitializeState(s, hec1, kDir, "/");
  return s;
}

TEST(ReadSettings, ThirdFieldIsTheReportPath) {
  struct {
    const char* name;
    std::string file;
    const char* path;
  } cases[] = {
      {"plain path", kHeadings + "C:\\RUNS\\A.HC1\r\n", "C:\\RUNS\\A.HC1"},
      {"comma cuts the path", kHeadings + "C:\\RUNS\\A,B.HC1\r\n", "C:\\RUNS\\A"},
      {"quoted path", kHeadings + "\"/runs/a,b.hc1\"\r\n", "/runs/a,b.hc1"},
      {"quoted with spaces", kHeadings + "\"  /runs/a.hc1 \"\r\n", "  /runs/a.hc1 "},
      {"empty third line", kHeadings + "\r\n", ""},
      {"leading spaces skipped", kHeadings + "   /runs/a.hc1\r\n", "/runs/a.hc1"},
      {"trailing spaces dropped", kHeadings + "/runs/a.hc1   \r\n", "/runs/a.hc1"},
      {"extra lines ignored", kHeadings + "/a\r\n/b\r\n/c\r\n", "/a"},
      {"LF line ends", "one\ntwo\n/runs/x.hc1\n", "/runs/x.hc1"},
      {"no final line end", kHeadings + "/runs/x.hc1", "/runs/x.hc1"},
  };
  for (const auto& c : cases) {
    test::MemoryFileSystem files;
    files.files[kSetup] = c.file;
    Init s = Fresh();
    ReadSettings(s, files);
    EXPECT_EQ(s.ReportPath, c.path) << c.name;
  }
}

TEST(ReadSettings, MissingOrShortFileIsAFileFault) {
  test::MemoryFileSystem files;
  Init s = Fresh();
  EXPECT_THROW(ReadSettings(s, files), FileFault) << "missing";
  for (const std::string& shortFile : {std::string(), std::string("one\r\n"), kHeadings}) {
    files.files[kSetup] = shortFile;
    EXPECT_THROW(ReadSettings(s, files), FileFault) << '"' << shortFile << '"';
  }
}

TEST(WriteSettings, RoundTripsEveryPath) {
  for (const std::string path :
       {"/runs/a.hc1", "C:\\RUNS\\A,B.HC1", " leading", "trailing ", "", "with space/in it.hc1"}) {
    test::MemoryFileSystem files;
    Init s = Fresh(true);
    s.ReportPath = path;
    WriteSettings(s, files);
    s.ReportPath = "changed";
    ReadSettings(s, files);
    EXPECT_EQ(s.ReportPath, path);
  }
}

TEST(WriteSettings, OrdinaryPathIsWrittenBareWithCrLf) {
  test::MemoryFileSystem files;
  Init s = Fresh(true);
  s.ReportPath = "C:\\RUNS\\RUN1.HC1";
  WriteSettings(s, files);
  EXPECT_EQ(files.files[kSetup], kHeadings + "C:\\RUNS\\RUN1.HC1\r\n");
}

TEST(WriteSettings, SwitchOffNeverTouchesTheFile) {
  test::MemoryFileSystem files;
  Init s = Fresh(false);
  s.ReportPath = "/x";
  WriteSettings(s, files);
  EXPECT_EQ(files.writes, 0);
}

TEST(WriteSettings, FailedWriteKeepsTheEarlierFile) {
  test::MemoryFileSystem files;
  files.files[kSetup] = kHeadings + "/old\r\n";
  files.unwritable.insert(kSetup);
  Init s = Fresh(true);
  s.ReportPath = "/new";
  EXPECT_THROW(WriteSettings(s, files), FileFault);
  EXPECT_EQ(files.files[kSetup], kHeadings + "/old\r\n");
}

StartupConfig Config() {
  StartupConfig config;
  config.installDir = kDir;
  config.root = "/";
  return config;
}

TEST(StartUp, FillsStateThenShowsTheScreensInOrder) {
  test::MemoryFileSystem files;
  files.files[kSetup] = kHeadings + "/runs/a.hc1\r\n";
  Init s;
  std::string shown;
  StartupOps ops;
  ops.ShowMainMenu = [&] { shown += "main "; };
  ops.ShowMethodTextModal = [&](int n) { shown += "method" + std::to_string(n) + " "; };
  Main(s, files, Config(), ops);
  EXPECT_EQ(shown, "main method1 method2 method3 ");
  EXPECT_EQ(s.Hec1Enabled, kFalse);
  EXPECT_EQ(s.LicensePath, "/opt/rh/LICENSE.txt");
  EXPECT_EQ(s.LogoPath, "/opt/rh/ORV.jpg");
  EXPECT_EQ(s.ReportPath, "/runs/a.hc1");
  EXPECT_EQ(s.SelectedPath, "/runs/a.hc1");
  EXPECT_EQ(s.FilePatterns[1], "*.hc1");
  EXPECT_EQ(s.FilePatterns[2], "*.*");
  EXPECT_EQ(s.FilePatterns[3], "");
  EXPECT_EQ(s.LastDrive, "/");
  EXPECT_EQ(s.LastDir, "/");
}

TEST(StartUp, MissingSettingsStopsBeforeAnyScreen) {
  test::MemoryFileSystem files;
  Init s;
  bool shown = false;
  StartupOps ops;
  ops.ShowWarning = [&](const std::string&, const std::string&) { shown = true; };
  ops.ShowMainMenu = [&] { shown = true; };
  ops.ShowMethodTextModal = [&](int) { shown = true; };
  EXPECT_THROW(Main(s, files, Config(), ops), FileFault);
  EXPECT_FALSE(shown);
}

// Choices given on the command line serve every run; a table that cannot serve is refused with
// the program's warning, naming the file and the line, and the program carries on with the chart.
TEST(StartUp, ChoicesForEveryRun) {
  struct {
    const char* name;
    std::string rainfall, ari, pond;
    bool peakChart;
    bool table, routed;
    std::string warningHas;
  } cases[] = {
      {"none", "", "", "", false, false, false, ""},
      {"a table, a pond and the chart's peak", "/t/depths.csv", "", "/t/pond.csv", true, true, true,
       ""},
      {"a table that is not one", "/t/bad.csv", "", "", false, false, false, "/t/bad.csv, line 1"},
      {"a missing table", "/t/none.csv", "", "", false, false, false, "/t/none.csv"},
      {"a return period for a plain table", "/t/depths.csv", "100", "", false, false, false,
       "--ari"},
      {"a pond that is not one", "", "", "/t/bad.csv", false, false, false, "/t/bad.csv, line 1"},
  };
  for (const auto& c : cases) {
    test::MemoryFileSystem files;
    files.files[kSetup] = kHeadings + "/runs/a.hc1\r\n";
    files.files["/t/depths.csv"] = "duration_min,depth_in\n5,0.5\n60,1.5\n1440,4\n";
    files.files["/t/bad.csv"] = "not a table\n";
    files.files["/t/pond.csv"] = "stage_ft,storage_acft,outflow_cfs\n0,0,0\n1,2,10\n5,20,90\n";
    StartupConfig config = Config();
    config.rainfall = c.rainfall;
    config.ari = c.ari;
    config.pond = c.pond;
    config.peakChart = c.peakChart;
    std::string warning;
    StartupOps ops;
    ops.ShowWarning = [&](const std::string& title, const std::string& text) {
      warning.assign(title).append(": ").append(text);
    };
    ops.ShowMainMenu = [] {};
    ops.ShowMethodTextModal = [](int) {};
    Init s;
    Main(s, files, config, ops);
    EXPECT_EQ(s.Choices.Rainfall != nullptr, c.table) << c.name;
    EXPECT_EQ(s.Choices.Pond != nullptr, c.routed) << c.name;
    EXPECT_EQ(s.Choices.ChartPeak, c.peakChart) << c.name;
    EXPECT_EQ(warning.empty(), c.warningHas.empty()) << c.name << ": " << warning;
    EXPECT_NE(warning.find(c.warningHas), std::string::npos) << c.name << ": " << warning;
  }
}

TEST(UserSettings, FolderFollowsXdgConfigHomeElseHome) {
  struct {
    const char *xdg, *home, *dir;
  } cases[] = {
      {"/cfg/", "/home/u", "/cfg/rational-hydrograph/"},
      {nullptr, "/home/u", "/home/u/.config/rational-hydrograph/"},
      {"", "/home/u/", "/home/u/.config/rational-hydrograph/"},
      {"relative/cfg", "/home/u", "/home/u/.config/rational-hydrograph/"},  // not absolute: unused
      {nullptr, "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UserSettingsDir(c.xdg, c.home), c.dir) << (c.xdg ? c.xdg : "-") << " " << c.home;
}

// A deck path holding a NUL is refused, naming it: cut at the NUL it would name another file. The
// user's file then gives way to the shipped default, as any damaged user file does.
TEST(ReadSettings, ADeckPathHoldingANulIsRefused) {
  const std::string nul = kHeadings + std::string("/runs/sub\0dir/x.hc1\r\n", 21);
  test::MemoryFileSystem files;
  files.files[kSetup] = nul;
  Init s = Fresh(true);
  try {
    ReadSettings(s, files);
    ADD_FAILURE() << "accepted " << s.ReportPath;
  } catch (const FileFault& fault) {
    EXPECT_EQ(std::string(fault.what()), std::string("The settings file ") + kSetup +
                                             " holds the HEC-1 deck path \"/runs/sub?dir/x.hc1\" "
                                             "with a NUL character (shown as ?) in it.");
  }
  files.files["/home/u/.config/rh/Setup.ini"] = nul;
  files.files[kSetup] = kHeadings + "/shipped.hc1";
  s.UserSettingsDir = "/home/u/.config/rh/";
  ReadSettings(s, files);
  EXPECT_EQ(s.ReportPath, "/shipped.hc1");
}

// The user's file wins when it is sound, else the shipped default is read; only when that is
// missing too does start-up fail. The write-back goes to the user's file, making its folder.
TEST(UserSettings, ReadFromTheUsersFileElseTheDefaultWrittenToTheUsers) {
  const std::string user = ::testing::TempDir() + "rh-user-settings/rational-hydrograph/";
  struct {
    const char *userPath, *defaultPath, *read;  // nullptr: no file / FileFault
  } cases[] = {
      {"/user.hc1", "/shipped.hc1", "/user.hc1"},
      {nullptr, "/shipped.hc1", "/shipped.hc1"},
      {"", "/shipped.hc1", "/shipped.hc1"},  // "": a user file of one line
      {nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    test::MemoryFileSystem files;
    if (c.userPath != nullptr)
      files.files[user + "Setup.ini"] = *c.userPath ? kHeadings + c.userPath : "[a]\r\n";
    if (c.defaultPath != nullptr)
      files.files[kSetup] = kHeadings + c.defaultPath;
    Init s = Fresh(true);
    s.UserSettingsDir = user;
    if (c.read == nullptr) {
      EXPECT_THROW(ReadSettings(s, files), FileFault);
      continue;
    }
    ReadSettings(s, files);
    EXPECT_EQ(s.ReportPath, c.read);
    WriteSettings(s, files);
    EXPECT_EQ(files.folders.count(user), 1u);
    EXPECT_EQ(files.files[user + "Setup.ini"], SettingsText(c.read));
    EXPECT_EQ(files.files[kSetup], kHeadings + c.defaultPath);
  }
}

// The windowed program's options: its own are read, anything else is left for Qt, and a slip is
// told what is wrong or the nearest option.
TEST(ProgramOptions, OwnOptionsAreReadAndTheRestLeftForQt) {
  const ProgramOptions read = ParseProgramOptions(
      {"prog", "--hec1", "--rainfall", "r.csv", "--ari", "100", "-platform", "offscreen", "-h"});
  EXPECT_TRUE(read.hec1 && read.help && !read.version && !read.peakChart);
  EXPECT_EQ(read.rainfall + "|" + read.ari + "|" + read.pond, "r.csv|100|");
  EXPECT_EQ(read.qtArguments, (std::vector<std::string>{"prog", "-platform", "offscreen"}));
  EXPECT_EQ(read.problem, "");

  const struct {
    std::vector<std::string> arguments;
    std::string problem;
  } slips[] = {
      {{"prog", "--pond"}, "option --pond has no value"},
      {{"prog", "--rainfall", "--hec1"}, "option --rainfall has no value"},
      {{"prog", "--ari", "10"}, messages::kAriWithoutTableText},
  };
  for (const auto& slip : slips)
    EXPECT_EQ(ParseProgramOptions(slip.arguments).problem, slip.problem) << slip.problem;
  EXPECT_EQ(ProgramUnknownOptionText("--rainfal"),
            "unknown option --rainfal; did you mean --rainfall?");
  EXPECT_EQ(ProgramUnknownOptionText("-style"), "unknown option -style");
}

}  // namespace
}  // namespace rh
