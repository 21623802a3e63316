#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QByteArray>
#include <QImage>
#include <QXmlStreamReader>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliRun.h"
#include "TestFiles.h"
#include "core/Faults.h"
#include "output/Plot.h"
#include "platform/FileSystem.h"

namespace rh {
namespace {

using test::Outcome;
using test::RunCli;

std::vector<std::string> Basin(std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"--tc", "10",     "--rain", "2.5",    "--area",
                                   "100",  "--coef", ".85",    "--peak", "250"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder under the system's temporary folder, removed with the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rh-cli-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The figures are those worked by hand in VolumeCheckTest; here the check is the arithmetic
// shown to the engineer.
TEST(CliCheck, BlockAfterTheListing) {
  const Outcome o = RunCli(Basin({"--check"}));
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string listingEnd = "    TIME (MIN) =  370     DISCHARGE (CFS) =  0\n";
  const auto at = o.out.find(listingEnd);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(o.out.substr(at + listingEnd.size()),
            "\n"
            "Check: runoff volume and peak discharge\n"
            "  Hydrograph volume   = sum of ordinates x Tc x 60 s\n"
            "                      = 1277.8 cfs x 10 min x 60 s = 766680 cu ft\n"
            "                      = 766680 / 43560 = 17.6006 ac-ft\n"
            "  Design-storm volume = C x P(N x Tc) x A,  P(D) = 7.44 P6 D^0.355 / 60 in\n"
            "                      P(36 x 10 = 360 min) = 7.44 x 2.5 x 360^0.355 / 60 = 2.5052 in\n"
            "                      = 0.85 x 2.5052 in x 100 ac = 212.945 ac-in\n"
            "                      = 212.945 x 3630 = 772991 cu ft = 17.7454 ac-ft\n"
            "  Volume ratio        = 766680 / 772991 = 0.9918 (expected 0.98 to 1.02)\n"
            "  Chart peak          = C x I(Tc) x A,  I(D) = 7.44 P6 D^-0.645 in/hr\n"
            "                      I(10) = 7.44 x 2.5 x 10^-0.645 = 4.2122 in/hr\n"
            "                      = 0.85 x 4.2122 in/hr x 100 ac = 358.04 cfs\n"
            "  Entered peak        = 250 cfs, -30.2 % from the chart peak (expected within 10 %)\n"
            "WARNING: the entered peak discharge differs from the chart's C x I(Tc) x A by more "
            "than 10 %.\n");
}

// No rain: nothing to compare, so the check says why and warns of nothing.
TEST(CliCheck, NoRainNoRatioAndNoWarnings) {
  const Outcome o = RunCli(
      {"--tc", "10", "--rain", "0", "--area", "100", "--coef", ".85", "--peak", "0", "--check"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("  Volume ratio        = none (the design-storm volume is 0)\n"),
            std::string::npos);
  EXPECT_NE(o.out.find("  Entered peak        = 0 cfs, no comparison (the chart peak is 0)\n"),
            std::string::npos);
  EXPECT_EQ(o.out.find("WARNING"), std::string::npos);
}

TEST(CliOptions, UsageErrors) {
  struct {
    const char* name;
    std::vector<std::string> args;
    const char* errHas;
  } cases[] = {
      {"plot without value", Basin({"--plot"}), "option --plot has no value"},
      {"plot of another kind", Basin({"--plot", "chart.jpg"}), "must end in .svg or .png"},
      {"csv and check", Basin({"--csv", "--check"}), "cannot be combined"},
      {"hec1 without a path", Basin({"--hec1"}), "--hec1 has no value"},
      {"deck without a name", Basin({"--hec1", ""}), "--hec1 has no value"},
      {"out without batch", Basin({"--out", "dir"}), "go with --batch"},
      {"batch without out", {"--batch", "b.csv"}, "--batch needs --out DIR"},
      {"batch with entries", {"--batch", "b.csv", "--out", "d", "--tc", "10"}, "drop --tc"},
      {"batch with a deck path",
       {"--batch", "b.csv", "--out", "d", "--hec1", "x.hc1"},
       "--hec1 takes no path"},
      {"batch with plot", {"--batch", "b.csv", "--out", "d", "--plot", "a.svg"}, "drop --tc"},
      {"entry given twice", Basin({"--tc=20"}), "option --tc is given twice"},
      {"flag given twice", Basin({"--csv", "--csv"}), "option --csv is given twice"},
      {"deck and report on one file", Basin({"--hec1", "r/x.pdf", "--report", "r/../r/x.pdf"}),
       "the HEC-1 deck and the report name the same file"},
      {"deck and plot on one file", Basin({"--hec1", "x.svg", "--plot", "./x.svg"}),
       "the HEC-1 deck and the plot name the same file"},
      {"report not a PDF", Basin({"--report", "r.txt"}), "must end in .pdf"},
      {"unknown option, the nearest offered", Basin({"--tcc", "5"}),
       "unknown option --tcc; did you mean --tc?"},
      {"value missing before the next option", {"--tc", "--rain", "2.5"}, "--tc has no value"},
      {"deck name with a line break", Basin({"--hec1", "runs/A\nB.hc1"}), "control character"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, kExitUsage) << c.name;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
    // One line, then where to read more: never the whole help.
    const auto first = o.err.find('\n');
    EXPECT_EQ(o.err.substr(first + 1), "Try 'rational-hydrograph-cli --help'.\n") << c.name;
  }
}

// Two basins: the sample one and a short, steep one with a tall peak and a long HEC-1 tail.
struct PlotCase {
  const char* name;
  std::vector<std::string> entries;
  const char* title;
  const char* peakLabel;
};

const PlotCase kPlotCases[] = {
    {"sample basin",
     {"--tc", "10", "--rain", "2.5", "--area", "100", "--coef", ".85", "--peak", "250"},
     "Design-storm hydrograph: Tc 10 min, P6 2.5 in, A 100 acres, C 0.85, Qp 250 cfs",
     "Peak 250 cfs at 250 min"},
    {"steep basin",
     {"--tc", "6", "--rain", "3.4", "--area", "12.5", "--coef", ".9", "--peak", "61.2"},
     "Design-storm hydrograph: Tc 6 min, P6 3.4 in, A 12.5 acres, C 0.9, Qp 61.2 cfs",
     "Peak 61.2 cfs at 246 min"},
};

TEST(CliPlot, SvgParsesAndNamesTheInputsAndPeak) {
  for (const PlotCase& c : kPlotCases) {
    TempDir dir;
    auto args = c.entries;
    args.insert(args.end(), {"--plot", (dir / "chart.svg").string()});
    const Outcome o = RunCli(args);
    ASSERT_EQ(o.status, 0) << c.name << ": " << o.err;
    const QByteArray svg = QByteArray::fromStdString(ReadFile(dir / "chart.svg"));
    QXmlStreamReader xml(svg);
    QString root;
    QStringList texts;
    while (!xml.atEnd()) {
      if (xml.readNext() == QXmlStreamReader::StartElement) {
        if (root.isEmpty())
          root = xml.name().toString();
        if (xml.name() == QLatin1String("text") || xml.name() == QLatin1String("title"))
          texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
      }
    }
    EXPECT_FALSE(xml.hasError()) << c.name << ": " << xml.errorString().toStdString();
    EXPECT_EQ(root, "svg") << c.name;
    EXPECT_TRUE(texts.contains(QString::fromUtf8(c.title))) << c.name;
    EXPECT_TRUE(texts.contains(QString::fromUtf8(c.peakLabel))) << c.name;
    EXPECT_TRUE(texts.contains("Time (min)")) << c.name;
    EXPECT_TRUE(texts.contains("Discharge (cfs)")) << c.name;
  }
}

TEST(CliPlot, PngHasTheChartSize) {
  for (const PlotCase& c : kPlotCases) {
    TempDir dir;
    auto args = c.entries;
    args.insert(args.end(), {"--plot", (dir / "chart.PNG").string()});
    const Outcome o = RunCli(args);
    ASSERT_EQ(o.status, 0) << c.name << ": " << o.err;
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(ReadFile(dir / "chart.PNG")), "PNG"))
        << c.name;
    EXPECT_EQ(image.width(), kPlotWidth) << c.name;
    EXPECT_EQ(image.height(), kPlotHeight) << c.name;
    // The chart is drawn, not left blank: the rainfall blocks hang from the top of the plot.
    bool bars = false;
    for (int x = 0; x < image.width() && !bars; x += 2)
      bars = image.pixelColor(x, 113) == QColor(170, 200, 235);
    EXPECT_TRUE(bars) << c.name;
  }
}

TEST(CliPlot, UnwritableFileIsAFault) {
  const Outcome o = RunCli(Basin({"--plot", "/nonexistent-folder/chart.svg"}));
  EXPECT_EQ(o.status, kExitFault);
  EXPECT_NE(o.err.find("Cannot write /nonexistent-folder/chart.svg"), std::string::npos) << o.err;
}

TEST(CliBatch, GoodRowsBadRowsAndAMalformedLine) {
  TempDir dir;
  std::ofstream(dir / "basins.csv") << "name,tc,rain,area,coef,peak\n"
                                       "North,10,2.5,100,.85,250\n"
                                       "South,5,2.5,100,.5,250\n"
                                       "North,10,2.5,100,.85,250\n"
                                       "bad/name,10,2.5,100,.85,250\n"
                                       "Short,3,2.5,100,.85,250\n"
                                       "Flat,10,2.5,0,.85,250\n"
                                       "Torn,10,2.5,100\n";
  const Outcome o =
      RunCli({"--batch", (dir / "basins.csv").string(), "--out", (dir / "runs/2026").string()});
  EXPECT_EQ(o.status, kExitSomeRowsFailed);
  EXPECT_NE(o.out.find("7 basins: 2 done, 5 failed"), std::string::npos) << o.out;
  for (const char* problem :
       {"row 3 (line 4): the basin name \"North\" is used",
        "row 4 (line 5): the basin name \"bad/name\" is not a safe",
        "row 5 (line 6): ERROR In Time of Concentration", "row 6 (line 7): Division by zero",
        "row 7 (line 8): 4 columns instead of 6"}) {
    EXPECT_NE(o.err.find(problem), std::string::npos) << problem << "\n" << o.err;
  }
  const std::string north = ReadFile(dir / "runs/2026/North.txt");
  EXPECT_EQ(north.substr(0, 31), "TIME OF CONCENTRATION  10 MIN.\n");
  EXPECT_EQ(north, RunCli(Basin()).out);
  const std::string summary = ReadFile(dir / "runs/2026/summary.csv");
  EXPECT_EQ(summary.substr(0, summary.find('\n', 200) + 1),
            "name,status,ordinate_count,peak_index,peak_cfs,volume_acre_ft,message,rainfall,ari,"
            "p6_in,qp_cfs,pond,peak_out_cfs,peak_out_min,max_storage_acft,max_stage_ft,drain_min\n"
            "North,ok,37,25,250,17.6006,,chart,,2.5,250,,,,,,\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "runs/2026/bad/name.txt"));
  // No temporary files are left beside the results.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir / "runs/2026"))
    ++files;
  EXPECT_EQ(files, 3);
}

TEST(CliBatch, AllRowsGoodAndTableProblems) {
  TempDir dir;
  std::ofstream(dir / "good.csv") << "name,tc,rain,area,coef,peak\nA,10,2.5,100,.85,250\n";
  std::ofstream(dir / "headless.csv") << "A,10,2.5,100,.85,250\n";
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* errHas;
  } cases[] = {
      {"all good", {"--batch", (dir / "good.csv").string(), "--out", dir.str()}, 0, ""},
      {"summary only before --out",
       {"--batch", (dir / "good.csv").string(), "--summary-only", "--out", (dir / "s").string()},
       0,
       ""},
      {"no header",
       {"--batch", (dir / "headless.csv").string(), "--out", dir.str()},
       4,
       "line 1: the first row must be the header name,tc,rain,area,coef,peak"},
      {"missing table",
       {"--batch", (dir / "none.csv").string(), "--out", dir.str()},
       3,
       "Cannot open"},
      {"out is a file",
       {"--batch", (dir / "good.csv").string(), "--out", (dir / "good.csv").string()},
       3,
       "Cannot create the folder"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "A.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir / "s/summary.csv"));
  EXPECT_FALSE(std::filesystem::exists(dir / "s/A.txt"));
}

// --hec1 is a flag with --batch wherever it stands, even right before another option; the batch
// then runs (each row writing its deck, or reporting why it could not).
TEST(CliBatch, Hec1FlagBesideOtherOptions) {
  TempDir dir;
  std::ofstream(dir / "good.csv") << "name,tc,rain,area,coef,peak\nA,10,2.5,100,.85,250\n";
  const std::vector<std::vector<std::string>> forms = {
      {"--batch", (dir / "good.csv").string(), "--hec1", "--out", (dir / "a").string()},
      {"--hec1", "--batch", (dir / "good.csv").string(), "--out", (dir / "b").string()},
      {"--batch", (dir / "good.csv").string(), "--out", (dir / "c").string(), "--hec1"},
  };
  for (const auto& args : forms) {
    const Outcome o = RunCli(args);
    EXPECT_TRUE(o.status == kExitOk || o.status == kExitSomeRowsFailed) << o.err;
    const std::string out = args[args.size() - 1] == "--hec1" ? args[args.size() - 2] : args.back();
    const std::string summary = ReadFile(std::filesystem::path(out) / "summary.csv");
    EXPECT_NE(summary.find("\nA,"), std::string::npos) << summary;
    if (o.status == kExitOk) {
      EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(out) / "A.hc1"));
    }
  }
}

// The entries of a folder, sorted.
std::vector<std::string> Entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A batch replaces only files: a folder where a row's listing goes fails that row alone, none of
// the row's files is written, and the folder is left where it is.
TEST(CliBatch, AFolderAtARowsFileFailsOnlyThatRow) {
  TempDir dir;
  std::ofstream(dir / "b.csv") << "name,tc,rain,area,coef,peak\nA,10,2.5,100,.85,250\n"
                                  "B,10,2.5,100,.85,250\n";
  std::filesystem::create_directories(dir / "out/A.txt");
  std::ofstream(dir / "out/A.txt/keep.txt") << "keep";
  const Outcome o =
      RunCli({"--batch", (dir / "b.csv").string(), "--out", (dir / "out").string(), "--hec1"});
  EXPECT_EQ(o.status, kExitSomeRowsFailed) << o.err;
  EXPECT_NE(o.err.find("row 1 (line 2): Cannot write"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("it is a folder"), std::string::npos) << o.err;
  EXPECT_EQ(Entries(dir / "out"),
            (std::vector<std::string>{"A.txt", "B.hc1", "B.txt", "summary.csv"}));
  EXPECT_EQ(ReadFile(dir / "out/A.txt/keep.txt"), "keep");
}

// One batch at a time writes into a folder; a second one is told and writes nothing.
TEST(CliBatch, OneBatchAtATimeInAFolder) {
  TempDir dir;
  std::ofstream(dir / "b.csv") << "name,tc,rain,area,coef,peak\nA,10,2.5,100,.85,250\n";
  std::filesystem::create_directories(dir / "out");
  StdFileSystem files;
  const auto held = files.LockFolder((dir / "out").string());
  const Outcome o = RunCli({"--batch", (dir / "b.csv").string(), "--out", (dir / "out").string()});
  EXPECT_EQ(o.status, kExitFault);
  EXPECT_NE(o.err.find("Another batch is writing into"), std::string::npos) << o.err;
  EXPECT_TRUE(Entries(dir / "out").empty());
}

// Interrupted, a batch ends with the signal's status, removes its temporary files, and leaves no
// summary: the earlier batch's is gone before the first row, the new one is written last.
TEST(CliBatch, InterruptedBatchLeavesNoTemporariesAndNoStaleSummary) {
  TempDir dir;
  {
    std::ofstream csv(dir / "b.csv");
    csv << "name,tc,rain,area,coef,peak\n";
    for (int i = 0; i < 200000; ++i)
      csv << "B" << i << ",5,2.5,100,.85,560\n";
  }
  std::filesystem::create_directories(dir / "out");
  std::ofstream(dir / "out/summary.csv") << "an earlier batch's summary\n";
  const pid_t child = ::fork();
  if (child == 0) {
    const std::string table = (dir / "b.csv").string();
    const std::string out = (dir / "out").string();
    ::execl(RH_CLI_PATH, RH_CLI_PATH, "--batch", table.c_str(), "--out", out.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(child, 0);
  // Once rows are being written, interrupt.
  for (int waited = 0; waited < 2000 && !std::filesystem::exists(dir / "out/B100.txt"); ++waited)
    ::usleep(5000);
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  for (const std::string& name : Entries(dir / "out")) {
    EXPECT_NE(name.front(), '.') << "a temporary file is left: " << name;
    EXPECT_NE(name, "summary.csv");
  }
}

// The storm from a rainfall table: choices the command line must make are usage errors; a table
// that cannot serve the run refuses it before anything is written.
TEST(CliRainfall, UsageErrorsAndRefusals) {
  TempDir dir;
  const std::string sample = RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv";
  std::ofstream(dir / "bad.csv") << "duration_min,depth_in\n15,1\n30,x\n";
  std::ofstream(dir / "short.csv") << "duration_min,depth_in\n15,1\n60,2\n360,3\n";
  const auto run = [&](std::vector<std::string> storm) {
    std::vector<std::string> args = {
        "--tc", "10",     "--area", "100",    "--coef",
        ".85",  "--peak", "chart",  "--hec1", (dir / "deck.hc1").string()};
    args.insert(args.end(), storm.begin(), storm.end());
    return RunCli(args);
  };
  struct {
    const char* name;
    std::vector<std::string> storm;
    int status;
    const char* errHas;
  } cases[] = {
      {"several columns and no ari", {"--rainfall", sample}, 64, "give --ari, one of: 1, 2, 5"},
      {"a return period not in the file", {"--rainfall", sample, "--ari", "3"}, 64, "1000"},
      {"rain beside the table", {"--rain", "2.5", "--rainfall", sample}, 64, "cannot be combined"},
      {"ari without a table", {"--rain", "2.5", "--ari", "100"}, 64, "--ari goes with --rainfall"},
      {"a file that cannot be read",
       {"--rainfall", (dir / "none.csv").string()},
       2,
       "ERROR In Rainfall Table: Cannot open"},
      {"a malformed table", {"--rainfall", (dir / "bad.csv").string()}, 2, "bad.csv, line 3"},
      {"a table short of the run", {"--rainfall", (dir / "short.csv").string()}, 2, "short.csv"},
  };
  for (const auto& c : cases) {
    const Outcome o = run(c.storm);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "deck.hc1")) << c.name;
  }
}

// The rainfall used reaches every output: the listing's peak and 6-hour rainfall, the deck's KM
// record, and in a batch the summary's columns (rows may name a table relative to theirs, and an
// empty peak is the chart's).
TEST(CliRainfall, OutputsCarryTheRainfallUsed) {
  TempDir dir;
  std::filesystem::copy_file(RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv", dir / "atlas14.csv");
  const Outcome o =
      RunCli({"--tc", "10", "--rainfall", (dir / "atlas14.csv").string(), "--ari", "100", "--area",
              "100", "--coef", ".85", "--peak", "chart", "--hec1", (dir / "deck.hc1").string()});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("6 HOUR RAINFALL  7.75 INCHES\nBASIN AREA  100 ACRES\n"
                       "RUNOFF COEFFICIENT  .85\nPEAK DISCHARGE  856.8 CFS\n"),
            std::string::npos)
      << o.out;
  EXPECT_NE(ReadFile(dir / "deck.hc1").find("KM 6HR RAINFALL IS  7.75  INCHES\r\n"),
            std::string::npos);

  std::ofstream(dir / "b.csv") << "name,tc,rain,area,coef,peak,rainfall,ari\n"
                                  "A,10,,100,.85,,atlas14.csv,100\n"
                                  "B,10,2.5,100,.85,,,\n"
                                  "C,10,2.5,100,.85,250,atlas14.csv,100\n";
  const Outcome batch =
      RunCli({"--batch", (dir / "b.csv").string(), "--out", (dir / "out").string()});
  EXPECT_EQ(batch.status, kExitSomeRowsFailed) << batch.err;
  const std::string summary = ReadFile(dir / "out/summary.csv");
  EXPECT_NE(summary.find("\nA,ok,37,25,856.8,"), std::string::npos) << summary;
  EXPECT_NE(summary.find(",atlas14.csv,100,7.75,856.8,,,,,,\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find(",chart,,2.5,358,,,,,,\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("\nC,refused,"), std::string::npos) << summary;
}

}  // namespace
}  // namespace rh

namespace rh {
namespace {

// No output replaces an input, and no output is lost to another: each kind of clash is refused
// before anything is written, the inputs kept as they were.
TEST(CliFiles, OutputsNeverReplaceInputsOrEachOther) {
  const std::string rainfall = "duration_min,depth_in\n5,0.5\n60,1.5\n1440,4\n";
  const std::string table = "name,tc,rain,area,coef,peak,rainfall\nA,10,,100,.85,250,A.txt\n";
  const std::string kBasinB = "name,tc,rain,area,coef,peak\nB,10,2.5,100,.85,250\n";
  struct {
    const char* name;
    std::vector<std::string> args;  // run in the scratch folder
    int status;
    const char* errHas;
  } cases[] = {
      {"batch summary on its table",
       {"--batch", "out/summary.csv", "--out", "out"},
       kExitUsage,
       "would replace the basin table"},
      {"batch row listing on the table",
       {"--batch", "out/B.txt", "--out", "out"},
       kExitSomeRowsFailed,
       "the listing would replace the basin table"},
      {"deck on the rainfall table",
       {"--tc", "10", "--rainfall", "out/A.txt", "--area", "100", "--coef", ".85", "--peak", "250",
        "--hec1", "out/A.txt"},
       kExitUsage,
       "the HEC-1 deck would replace the rainfall table"},
      {"batch row listing on its own rainfall table",
       {"--batch", "out/rows.csv", "--out", "out"},
       kExitSomeRowsFailed,
       "the listing would replace the rainfall table"},
      {"two names of one file not yet made",
       {"--tc", "10", "--rain", "2.5", "--area", "100", "--coef", ".85", "--peak", "250", "--hec1",
        "out/y.svg", "--plot", "out/x.svg"},
       kExitUsage,
       "the HEC-1 deck and the plot name the same file"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    std::ofstream(dir / "out/summary.csv") << table;
    std::ofstream(dir / "out/A.txt") << rainfall;
    std::ofstream(dir / "out/rows.csv") << table;
    std::ofstream(dir / "out/B.txt") << kBasinB;
    std::filesystem::create_symlink("./x.svg", dir / "out/y.svg");
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.str());
    const Outcome o = RunCli(c.args);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
    EXPECT_EQ(ReadFile(dir / "out/A.txt"), rainfall) << c.name;
    EXPECT_EQ(ReadFile(dir / "out/rows.csv"), table) << c.name;
    EXPECT_EQ(ReadFile(dir / "out/B.txt"), kBasinB) << c.name;
    EXPECT_FALSE(std::filesystem::exists(dir / "out/x.svg")) << c.name;
  }
}

// A batch never loses a file it reads or one outside its folder: every table any row reads is
// known before the first write, and no row writes through a link. Each case keeps every file
// of the folder but a killed batch's temporaries.
TEST(CliFiles, BatchKeepsWhatItReadsAndWhatLiesOutside) {
  const std::string pond = ReadFile(RH_TEST_DATA_DIR "/example-pond.csv");
  const std::string rainfall = "duration_min,depth_in\n5,0.5\n60,1.5\n1440,4\n";
  const std::string pondHeader = "name,tc,rain,area,coef,peak,pond\n";
  struct {
    const char* name;
    std::string table;
    bool hec1;
    int status;
    const char* errHas;
  } cases[] = {
      {"a row's listing on a pond table another row reads",
       pondHeader + "B,10,2.5,100,.85,250,\nZ,10,2.5,100,.85,250,out/B.txt\n", false,
       kExitSomeRowsFailed, "the listing would replace the pond table"},
      {"a row's deck on a rainfall table another row reads",
       "name,tc,rain,area,coef,peak,rainfall\nB,10,2.5,100,.85,250,\nZ,10,,100,.85,250,out/B.hc1\n",
       true, kExitSomeRowsFailed, "the HEC-1 deck would replace the rainfall table"},
      {"the summary's clean-up on a pond table",
       pondHeader + "Z,10,2.5,100,.85,250,out/summary.csv\n", false, kExitUsage, "the summary"},
      {"a listing through a link out of the folder", pondHeader + "A,10,2.5,100,.85,250,\n", false,
       kExitSomeRowsFailed, "is a link"},
      {"a killed batch's temporaries", pondHeader + "C,10,2.5,100,.85,250,\n", false, kExitOk, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    std::ofstream(dir / "t.csv") << c.table;
    const std::pair<std::string, std::string> files[] = {{"keep.txt", "kept\n"},
                                                         {"out/B.txt", pond},
                                                         {"out/B.hc1", rainfall},
                                                         {"out/summary.csv", pond},
                                                         {"out/.C.txt.AbC123", "half"},
                                                         {"out/.summary.csv.x1Y2z3", "half"},
                                                         {"out/.C.csv.AbC123", "not ours"},
                                                         {"out/.C.txt.AbC12", "not ours"}};
    for (const auto& [name, text] : files)
      std::ofstream(dir / name) << text;
    std::filesystem::create_symlink("../keep.txt", dir / "out/A.txt");
    std::vector<std::string> args = {"--batch", (dir / "t.csv").string(), "--out",
                                     (dir / "out").string()};
    if (c.hec1)
      args.emplace_back("--hec1");
    const Outcome o = RunCli(args);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
    for (const auto& [name, text] : files) {
      // A killed batch's temporaries go once the folder is locked.
      const bool gone = c.status != kExitUsage &&
                        (name == "out/.C.txt.AbC123" || name == "out/.summary.csv.x1Y2z3");
      if (name == "out/summary.csv" && c.status != kExitUsage)
        continue;  // the batch's own
      EXPECT_EQ(std::filesystem::exists(dir / name), !gone) << c.name << ": " << name;
      if (!gone) {
        EXPECT_EQ(ReadFile(dir / name), text) << c.name << ": " << name;
      }
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "out/A.txt")) << c.name;
  }
}

}  // namespace
}  // namespace rh

namespace rh {
namespace {

// A pond routed after the listing, refused when it overflows or the step does not fit, and several
// return periods of one table in one listing, one chart and one study.
TEST(CliPond, RoutingAndReturnPeriods) {
  const std::string pond = RH_TEST_DATA_DIR "/example-pond.csv";
  const std::string rainfall = RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv";
  TempDir dir;
  std::ofstream(dir / "small.csv") << "stage_ft,storage_acft,outflow_cfs\n0,0,0\n1,.5,5\n2,1,10\n";
  const std::string small = (dir / "small.csv").string();
  const std::string routed = (dir / "routed.csv").string();
  const std::string study = (dir / "study.pdf").string();
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* has;  // in the listing, or in the message
    bool writesRouted;
  } cases[] = {
      {"routed", Basin({"--pond", pond, "--pond-csv", routed}), kExitOk,
       "\nPEAK OUTFLOW  32.3 CFS AT  277 MIN.\n", true},
      {"overtopping", Basin({"--pond", small, "--pond-csv", routed}), kExitOk,
       "\nOVERTOPPED FROM  88 MIN. TO ", true},
      {"step not dividing Tc", Basin({"--pond", pond, "--route-step", "3"}), kExitUsage,
       "(3 min against a Tc of 10 min)", false},
      {"several return periods",
       {"--tc", "10", "--rainfall", rainfall, "--ari", "2,100", "--area", "100", "--coef", ".85",
        "--peak", "chart", "--study", study},
       kExitOk,
       "\nRETURN PERIOD  100 YEARS\nTIME OF CONCENTRATION  10 MIN.\n",
       false},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(routed);
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE((o.status == kExitOk ? o.out : o.err).find(c.has), std::string::npos)
        << c.name << ": " << o.err;
    EXPECT_EQ(std::filesystem::exists(routed), c.writesRouted) << c.name;
  }
  EXPECT_EQ(ReadFile(dir / "study.pdf").rfind("%PDF", 0), 0u);
}

// Entries and tables that would give wrong figures without a word are refused, saying what
// holds; the nearest sound entries run.
TEST(CliEdges, WrongFiguresAreRefused) {
  TempDir dir;
  const std::string rainfall = RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv";
  std::ofstream(dir / "pond.csv") << "stage_ft,storage_acft,outflow_cfs\n0,0,0\n1,1e308,1e308\n";
  const auto with = [](const std::string& option, const std::string& value,
                       std::vector<std::string> extra = {}) {
    std::vector<std::string> args = Basin(std::move(extra));
    *(std::find(args.begin(), args.end(), option) + 1) = value;
    return args;
  };
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* errHas;
  } cases[] = {
      {"Tc far longer than the storm", with("--tc", "1000", {"--check"}), kExitRefused,
       "Time of Concentration must be 360 minutes or less: the design storm lasts 6 hours."},
      {"Tc 400", with("--tc", "400"), kExitRefused, "360 minutes or less"},
      {"Tc of the whole storm", with("--tc", "360"), kExitOk, ""},
      {"a peak of 0", with("--peak", "0"), kExitRefused,
       "Peak Discharge value must be 229 cfs or more for this storm"},
      {"the smallest peak", with("--peak", "229"), kExitOk, ""},
      {"hectares", with("--area", "40.5ha"), kExitRefused,
       "Basin Area is in acres: '40.5ha' has the unit 'ha'."},
      {"each entry's own unit",
       {"--tc", "10 Min", "--rain", "2.5\"", "--area", "100 acres", "--coef", ".85", "--peak",
        "250 CFS"},
       kExitOk,
       ""},
      {"a coefficient in percent", with("--coef", "85 %"), kExitRefused,
       "Runoff Coefficient has no unit: '85 %' has the unit '%'."},
      {"a return period twice",
       {"--tc", "10", "--rainfall", rainfall, "--ari", "100,100", "--area", "100", "--coef", ".85",
        "--peak", "chart"},
       kExitUsage,
       "--ari names the return period 100 twice"},
      {"pond values beyond the range", Basin({"--pond", (dir / "pond.csv").string()}), kExitRefused,
       "pond.csv, line 3: the storage \"1e308\" and the outflow \"1e308\" are too large"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
  }
}

// Whatever the command line or a table holds reaches messages and the summary without a
// terminal's controls: C0, DEL, C1 and the bidi controls show as "?".
TEST(CliEdges, EchoesShowNoControls) {
  TempDir dir;
  struct {
    const char* name;
    std::vector<std::string> args;
    const char* errHas;
  } cases[] = {
      {"an escape in an option name", {"--t\x1B[2Jc"}, "unknown option --t?[2Jc"},
      {"a C1 control sequence",
       {"--t\xC2\x9B"
        "2Jc"},
       "unknown option --t?2Jc"},
      {"a stray argument reversed", Basin({"\xE2\x80\xAEtxt.exe"}), "unexpected argument ?txt.exe"},
      {"an entry's unit",
       {"--tc", "10", "--rain", "2.5", "--area", "4\x1B]0;x\x07", "--coef", ".85", "--peak", "250"},
       "has the unit '?]0;x?'"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCli(c.args);
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
  }
  std::ofstream(dir / "b.csv") << "name,tc,rain,area,coef,peak,rainfall\nB,10,,100,.85,250,"
                                  "\xE2\x80\xAE\xC2\x9Bx.csv\n";
  RunCli({"--batch", (dir / "b.csv").string(), "--out", (dir / "out").string()});
  const std::string summary = ReadFile(dir / "out/summary.csv");
  EXPECT_NE(summary.find("??x.csv"), std::string::npos) << summary;
  EXPECT_EQ(summary.find("\xE2\x80\xAE"), std::string::npos) << summary;
}

}  // namespace
}  // namespace rh

namespace rh {
namespace {

// A pond designed from its shape and outlets routes as a table does and writes its rating; a
// broken pond file or a rating without a pond writes nothing.
TEST(CliPond, DesignedPondAndItsRating) {
  const std::string pond = RH_TEST_DATA_DIR "/example-pond.json";
  TempDir dir;
  std::ofstream(dir / "bad.json") << R"({"name": "x", "storage": {"box": {}}, "outlets": []})";
  const std::string bad = (dir / "bad.json").string();
  const std::string rating = (dir / "rating.csv").string();
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* has;  // in the listing, or in the message
  } cases[] = {
      {"refused file", Basin({"--pond", bad, "--pond-rating", rating}), kExitRefused,
       "bad.json: storage.box.bottom_ft is missing"},
      {"rating without a pond", Basin({"--pond-rating", rating}), kExitUsage,
       messages::kPondRatingOptionText},
      {"routed", Basin({"--pond", pond, "--pond-rating", rating}), kExitOk,
       "\nPOND TABLE " RH_TEST_DATA_DIR "/example-pond.json\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(rating);
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE((o.status == kExitOk ? o.out : o.err).find(c.has), std::string::npos)
        << c.name << ": " << o.out << o.err;
    EXPECT_EQ(std::filesystem::exists(rating), c.status == kExitOk) << c.name;
  }
  const std::string text = ReadFile(rating);  // of the last case
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "stage_ft,storage_acft,outflow_cfs,low_cfs,weir2_cfs,riser3_cfs,spillway4_cfs,"
            "barrel_capacity_cfs");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 802);  // header, 100 to 108 ft by 0.01 ft
}

}  // namespace
}  // namespace rh

namespace rh {
namespace {

// Saving the run of a command line, opening it and saving it again gives the same bytes; the
// reopened study runs with exit status 0, or 5 once a criterion it cannot meet is added.
TEST(CliStudyFile, SaveOpenSaveIsByteIdentical) {
  const test::ScratchDir dir;
  const std::string data = RH_TEST_DATA_DIR;
  const std::string a = dir / "a.rhstudy";
  const std::string b = dir / "b.rhstudy";
  const test::Outcome saved =
      test::RunCli({"--tc", "15", "--rainfall", data + "/atlas14-fort-myers-fl.csv", "--ari",
                    "2,100", "--area", "20", "--coef", "0.8", "--peak", "chart", "--pond",
                    data + "/example-pond.json", "--save-study", a});
  ASSERT_EQ(saved.status, 0) << saved.err;
  const test::Outcome again = test::RunCli({"--study-file", a, "--save-study", b});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(test::ReadFile(a), test::ReadFile(b));
  EXPECT_NE(again.out.find("100-year"), std::string::npos) << again.out;

  const test::Outcome example =
      test::RunCli({"--study-file", data + "/example.rhstudy", "--summary", dir / "s.csv"});
  EXPECT_EQ(example.status, 0) << example.err;
  EXPECT_EQ(test::SplitLines(test::ReadFile(dir / "s.csv")).size(), 4U);
  std::string strict = test::ReadFile(data + "/example.rhstudy");
  strict.replace(strict.find("\"freeboard_ft\": 0.5"), 19, "\"freeboard_ft\": 7.5");
  std::ofstream(dir / "strict.rhstudy") << strict;
  std::filesystem::copy(data + "/atlas14-fort-myers-fl.csv", dir / "atlas14-fort-myers-fl.csv");
  std::filesystem::copy(data + "/example-pond.json", dir / "example-pond.json");
  const test::Outcome fails = test::RunCli({"--study-file", dir / "strict.rhstudy"});
  EXPECT_EQ(fails.status, kExitCriteriaFailed) << fails.err;
  EXPECT_NE(fails.out.find("RESULT FAIL: freeboard fails (2-year, 10-year, 100-year)"),
            std::string::npos)
      << fails.out;
}

// A study asking for decks writes one per storm beside it, each the deck the companion's own run
// of that storm writes.
TEST(CliStudyFile, Hec1DecksBesideTheStudy) {
  const test::ScratchDir dir;
  const std::string data = RH_TEST_DATA_DIR;
  std::filesystem::copy(data + "/atlas14-fort-myers-fl.csv", dir / "atlas14-fort-myers-fl.csv");
  std::filesystem::copy(data + "/example-pond.json", dir / "example-pond.json");
  std::string study = test::ReadFile(data + "/example.rhstudy");
  study.replace(study.find("\"hec1\": false"), 13, "\"hec1\": true");
  std::ofstream(dir / "site.rhstudy") << study;
  const test::Outcome o = test::RunCli({"--study-file", dir / "site.rhstudy"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::filesystem::create_directory(dir / "one");
  for (const char* years : {"2", "10", "100"}) {
    const std::string name = std::string("site-") + years + "yr.hc1";
    const test::Outcome run = test::RunCli(
        {"--tc", "15", "--rainfall", data + "/atlas14-fort-myers-fl.csv", "--ari", years, "--area",
         "20", "--coef", "0.85", "--peak", "chart", "--hec1", dir / ("one/" + name)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(dir / name), test::ReadFile(dir / ("one/" + name))) << name;
  }
}

// The sample basin through the example pond file as a SWMM input file, byte for byte the golden
// one; --swmm without a pond, or with several return periods, writes nothing.
TEST(CliPond, SwmmInputFile) {
  const std::string pond = RH_TEST_DATA_DIR "/example-pond.json";
  const std::string rainfall = RH_TEST_DATA_DIR "/atlas14-fort-myers-fl.csv";
  TempDir dir;
  const std::string inp = (dir / "pond.inp").string();
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* has;  // in the message
  } cases[] = {
      {"without a pond", Basin({"--swmm", inp}), kExitUsage, messages::kSwmmOptionText},
      {"several return periods",
       {"--tc", "10", "--rainfall", rainfall, "--ari", "10,100", "--area", "100", "--coef", ".85",
        "--peak", "chart", "--pond", pond, "--swmm", inp},
       kExitUsage,
       messages::kOneReturnPeriodText},
      {"routed", Basin({"--pond", pond, "--swmm", inp}), kExitOk, ""},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(inp);
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.has), std::string::npos) << c.name << ": " << o.err;
    EXPECT_EQ(std::filesystem::exists(inp), c.status == kExitOk) << c.name;
  }
  EXPECT_EQ(ReadFile(inp), ReadFile(RH_GOLDEN_DIR "/swmm_example_pond.inp"));
}

}  // namespace
}  // namespace rh

namespace rh {
namespace {

// The study file's document as a reviewer gets it: the criteria lead, no text is set below 8 pt
// (the sizes its own text operators give), no folder of the tables shows, and the routing table
// runs to the step at which the pond has drawn down.
TEST(CliStudyFile, DocumentReadsAsSubmitted) {
  const test::ScratchDir dir;
  const std::string pdf = dir / "study.pdf";
  const test::Outcome o =
      test::RunCli({"--study-file", RH_TEST_DATA_DIR "/example.rhstudy", "--study", pdf});
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string bytes = test::ReadFile(pdf);
  const std::regex size("/F[0-9]+ ([0-9.]+) Tf");
  int texts = 0;
  for (auto m = std::sregex_iterator(bytes.begin(), bytes.end(), size); m != std::sregex_iterator();
       ++m, ++texts)
    EXPECT_GE(std::stod((*m)[1]), 8.0) << m->str();
  EXPECT_GT(texts, 100);
  const std::string text = test::PdfText(pdf);
  EXPECT_LT(text.find("Design criteria"), text.find("Design storm"));
  EXPECT_NE(text.find("RESULT PASS"), std::string::npos);
  EXPECT_EQ(text.find(RH_TEST_DATA_DIR), std::string::npos);
  // 100-year: drawn down 41 h 22 min after the maximum storage; the last row is that step.
  const std::size_t table = text.rfind("Routing ends at ");
  ASSERT_NE(table, std::string::npos);
  const std::string ends = text.substr(table + 16, text.find(' ', table + 16) - table - 16);
  EXPECT_TRUE(std::regex_search(text.substr(table), std::regex("\n *" + ends + " "))) << ends;
  EXPECT_NE(text.find("Engineer responsible"), std::string::npos);
  // The rating a reviewer checks the drawdown by: every 0.1 ft, with the rows at the devices'
  // stages between (the weir's crest, the orifice's crown) and each device's own flow.
  for (const char* row : {"\n *100\\.10 +0\\.19[0-9]{2} ", "\n *105\\.00 ", "\n *102\\.00 "})
    EXPECT_TRUE(std::regex_search(text, std::regex(row))) << row;
  EXPECT_NE(text.find("Outlet spillway4"), std::string::npos);
}

}  // namespace
}  // namespace rh
