#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace rh {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome RunCli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = cli::Run(args, out, err);
  return {status, out.str(), err.str()};
}

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
      {"zero area", Basin("10", "0"), 3, true, "Division by zero"},
      {"entry beyond range", Basin("10", "1e999"), 3, true, "Overflow"},
      {"unknown option", {"--bogus"}, 64, true, "unknown option --bogus"},
      {"missing value", {"--tc"}, 64, true, "needs a value"},
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

TEST(Cli, InlineValuesAndNegativeNumbers) {
  const Outcome o =
      RunCli({"--tc=10", "--rain", "2.5", "--area", "-100", "--coef", "-.85", "--peak", "250"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("BASIN AREA -100 ACRES"), std::string::npos);
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

}  // namespace
}  // namespace rh
