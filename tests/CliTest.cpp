#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliRun.h"
#include "TestFiles.h"
#include "core/Faults.h"
#include "platform/qt/QtPrinter.h"

namespace rh {
namespace {

using test::Outcome;
using test::RunCli;

std::vector<std::string> Basin(std::string tc, std::string area = "100") {
  return {"--tc",          std::move(tc), "--rain", "2.5",    "--area",
          std::move(area), "--coef",      ".85",    "--peak", "250"};
}

TEST(Cli, ExitStatusesAndStreams) {
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    bool stdoutEmpty;
    const char* errHas;
  } cases[] = {
      {"refused Tc", Basin("4.4"), 2, true,
       "ERROR In Time of Concentration: Time of Concentration value must be 5 or greater.\n"},
      {"blank entry", Basin("  "), 2, true,
       "ERROR Incomplete Input Data: Entries are required in all data fields.\n"},
      {"zero area", Basin("10", "0"), 3, true,
       "Division by zero. The basin area and the runoff coefficient must not be 0"},
      {"entry beyond range", Basin("10", "1e999"), 3, true, "Overflow"},
      {"Tc beyond the storm", Basin("9e307"), 2, true, "must be 360 minutes or less"},
      {"unknown option", {"--bogus"}, 64, true, "unknown option --bogus"},
      {"missing value", {"--tc"}, 64, true, "--tc has no value"},
      {"missing option", {"--tc", "10"}, 64, true, "missing option --rain"},
      {"help", {"--help"}, 0, false, ""},
      {"version", {"--version"}, 0, false, ""},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.status, c.status) << c.name;
    EXPECT_EQ(o.out.empty(), c.stdoutEmpty) << c.name;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
  }
}

TEST(Cli, ListingIsTheResultsList) {
  const Outcome o = RunCli(Basin("10"));
  ASSERT_EQ(o.status, 0);
  EXPECT_TRUE(o.err.empty());
  EXPECT_EQ(o.out.substr(0, 31), "TIME OF CONCENTRATION  10 MIN.\n");
  EXPECT_NE(o.out.find("\n    TIME (MIN) =  240     DISCHARGE (CFS) =  207.9\n"),
            std::string::npos);
  EXPECT_EQ(o.out.find('\r'), std::string::npos);
}

// A negative number is a value, not an option; the run then refuses it for what it is.
TEST(Cli, InlineValuesAndNegativeNumbers) {
  const Outcome o =
      RunCli({"--tc=10", "--rain", "2.5", "--area", "-100", "--coef", "-.85", "--peak=250"});
  EXPECT_EQ(o.status, 2) << o.err;
  EXPECT_EQ(o.err, "ERROR In Basin Area: Basin Area value must be 0 or greater.\n");
}

TEST(Cli, CsvRows) {
  auto args = Basin("10");
  args.emplace_back("--csv");
  const Outcome o = RunCli(args);
  ASSERT_EQ(o.status, 0);
  std::istringstream rows(o.out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(rows, line);)
    lines.push_back(line);
  ASSERT_EQ(lines.size(), 39u);
  EXPECT_EQ(lines[0], "time_min,discharge_cfs");
  EXPECT_EQ(lines[1], "0,0");
  EXPECT_EQ(lines[2], "10,12.7");
  EXPECT_EQ(lines[26], "250,250");
  EXPECT_EQ(lines[38], "370,0");
}

TEST(Cli, ProcessExitStatus) {
  const std::string cli = RH_CLI_PATH;
  const int ok = std::system(
      (cli + " --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 >/dev/null").c_str());
  const int refused = std::system(
      (cli + " --tc 3 --rain 2.5 --area 100 --coef .85 --peak 250 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(ok), 0);
  EXPECT_EQ(WEXITSTATUS(refused), 2);
}

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(Cli, Hec1DeckBesideTheListing) {
  test::ScratchDir dir;
  const std::string deckPath = dir / "RUN1.HC1";
  const Outcome o = RunCli(With(Basin("15"), {"--hec1", deckPath}));
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(o.err.empty()) << o.err;
  // The ten-zero tail shows in the listing too: N + 17 lines.
  const auto listing = test::SplitLines(o.out);
  ASSERT_EQ(listing.size(), 24u + 17u);
  EXPECT_EQ(listing.back(), "    TIME (MIN) =  510     DISCHARGE (CFS) =  0");
  // The deck is the checked one but for its date.
  auto deck = test::SplitLines(test::ReadFile(deckPath));
  auto golden = test::SplitLines(test::ReadFile(std::string(RH_GOLDEN_DIR) + "/deck_tc15.hc1"));
  ASSERT_EQ(deck.size(), golden.size());
  EXPECT_EQ(deck[1].rfind("KM RUN DATE   ", 0), 0u);
  deck[1] = golden[1];
  EXPECT_EQ(deck, golden);
  EXPECT_NE(test::ReadFile(deckPath).find("\r\n"), std::string::npos);
}

TEST(Cli, OutputFaultsKeepTheListingBack) {
  test::ScratchDir dir;
  struct {
    const char* name;
    std::vector<std::string> more;
    const char* errHas;
  } cases[] = {
      {"deck in a missing folder",
       {"--hec1", dir / "missing/RUN1.HC1"},
       "ERROR Writing HEC-1 Input File: Cannot write"},
      {"plot in a missing folder", {"--plot", dir / "missing/p.svg"}, "Cannot write"},
      {"report in a missing folder",
       {"--report", dir / "missing/r.pdf"},
       "ERROR Printing Report: Cannot write"},
  };
  for (const auto& c : cases) {
    const auto args = With(Basin("10"), c.more);
    const Outcome o = RunCli(args);
    EXPECT_EQ(o.status, 3) << c.name;
    EXPECT_TRUE(o.out.empty()) << c.name;
    EXPECT_NE(o.err.find(c.errHas), std::string::npos) << c.name << ": " << o.err;
  }
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(Cli, OutputOptionsNeedTheirValues) {
  for (const char* option : {"--hec1", "--report"}) {
    const Outcome o = RunCli(With(Basin("10"), {option}));
    EXPECT_EQ(o.status, 64) << option;
    EXPECT_NE(o.err.find(std::string(option) + " has no value"), std::string::npos) << option;
  }
  EXPECT_EQ(RunCli(With(Basin("10"), {"--print=yes"})).status, 64);
}

TEST(Cli, ReportAsPdf) {
  test::ScratchDir dir;
  const Outcome o = RunCli(With(Basin("10"), {"--report", dir / "report.pdf"}));
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(test::ReadFile(dir / "report.pdf").rfind("%PDF-", 0), 0u);
  EXPECT_EQ(o.out.substr(0, 31), "TIME OF CONCENTRATION  10 MIN.\n");
  if (test::HaveCommand("pdftotext")) {
    EXPECT_EQ(test::CheckDischargeColumn(test::PdfWords(dir / "report.pdf"), 38), "");
    EXPECT_NE(test::PdfText(dir / "report.pdf").find("HYDROGRAPH FILE NAME"), std::string::npos);
  }
}

// The companion as its own process, with `env` settings in front of it.
test::CommandResult RunProcess(const std::string& env, const std::string& args,
                               const std::string& errFile) {
  return test::RunCommand(env + " " + RH_CLI_PATH + " --tc 10 --rain 2.5 --area 100 --coef .85 " +
                          "--peak 250 " + args + " 2>'" + errFile + "'");
}

// A print service that does not answer is named as the cause, not a missing printer.
TEST(Cli, PrintServiceUnreachable) {
  test::ScratchDir dir;
  const auto result = RunProcess("env -u PRINTER -u LPDEST CUPS_SERVER=" + (dir / "no-cups.sock"),
                                 "--print", dir / "err.txt");
  EXPECT_EQ(result.status, 3);
  EXPECT_TRUE(result.out.empty());
  EXPECT_EQ(test::ReadFile(dir / "err.txt"),
            std::string("rational-hydrograph-cli: ") + messages::kPrintFaultTitle +
                ": The print service at " + (dir / "no-cups.sock") + " " +
                messages::kPrintServiceText + "\n");
}

TEST(Cli, CommaDecimalHostKeepsThePointInTheDeck) {
  test::ScratchDir dir;
  const auto result = RunProcess(
      "env LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8",
      "--hec1 '" + (dir / "RUN1.HC1") + "' --report '" + (dir / "r.pdf") + "'", dir / "err.txt");
  ASSERT_EQ(result.status, 0) << test::ReadFile(dir / "err.txt");
  const std::string deck = test::ReadFile(dir / "RUN1.HC1");
  EXPECT_NE(deck.find("KM 6HR RAINFALL IS  2.5  INCHES\r\n"), std::string::npos);
  EXPECT_NE(deck.find("KM RATIONAL METHOD RUNOFF COEFFICIENT IS  .85 \r\n"), std::string::npos);
  EXPECT_NE(deck.find("BA .1563 \r\n"), std::string::npos);
  EXPECT_EQ(deck.find("KM RUN DATE   \r\n"), std::string::npos) << "a date is written";
  // The report is for people and follows the host's number settings.
  if (test::HaveCommand("pdftotext")) {
    const std::string report = test::PdfText(dir / "r.pdf");
    EXPECT_NE(report.find("2,5"), std::string::npos) << report;
    EXPECT_NE(report.find(",85"), std::string::npos);
  }
}

// The Qt libraries the program binary loads (the dynamic loader's own account) for a run.
std::string LoadedQtLibraries(const std::string& args, const std::string& folder) {
  const auto run =
      test::RunCommand("cd '" + folder + "' && LD_DEBUG=files '" RH_CLI_PATH "' " + args +
                       " 2>&1 >/dev/null | grep -o 'file=libQt6[A-Za-z]*' | "
                       "sort -u");
  return run.out;
}

// Listings, tables, checks, decks and SVG charts load no Qt library; a PDF or a PNG chart brings
// the graphics libraries in with the devices module.
TEST(Cli, GraphicsLibrariesLoadOnlyForPdfPrintAndPictures) {
  test::ScratchDir dir;
  const std::string basin = "--tc 10 --rain 2.5 --area 100 --coef .85 --peak 250";
  for (const char* extra : {"", " --csv", " --check", " --hec1 run.hc1", " --plot chart.svg"})
    EXPECT_EQ(LoadedQtLibraries(basin + extra, dir.path().string()), "") << extra;
  EXPECT_NE(LoadedQtLibraries(basin + " --plot chart.png", dir.path().string()).find("Gui"),
            std::string::npos);
}

}  // namespace
}  // namespace rh
