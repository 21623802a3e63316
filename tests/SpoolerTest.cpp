// Prints reports through a real print spooler: a CUPS scheduler of the test's own (configuration,
// spool and socket in a temporary folder) with a CUPS-PDF queue, and reads the PDF that comes out.
// The machine's scheduler, queues and default printer are never touched. CUPS-PDF's backend only
// runs under a scheduler started as root, so as another user the tests are skipped.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Basins.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "core/Faults.h"
#include "output/PrintedReport.h"
#include "platform/qt/GuiSession.h"
#include "platform/qt/QtPrinter.h"

namespace rh {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr const char* kCupsPdfConf = "/etc/cups/cups-pdf.conf";

std::string Squeezed(const std::string& line) {
  std::string out;
  for (const char c : line) {
    if (c != ' ' || out.empty() || out.back() != ' ')
      out += c;
  }
  while (!out.empty() && out.back() == ' ')
    out.pop_back();
  return out;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  for (const auto deadline = Clock::now() + limit; Clock::now() < deadline;) {
    if (done())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return done();
}

// A setting of /etc/cups/cups-pdf.conf, with ${HOME} and ${USER} of this user filled in.
std::string CupsPdfSetting(const std::string& name, const std::string& fallback,
                           const std::string& home = {}) {
  std::string value = fallback;
  for (const std::string& line : test::SplitLines(test::ReadFile(kCupsPdfConf))) {
    if (line.rfind(name + " ", 0) == 0)
      value = line.substr(name.size() + 1);
  }
  const passwd* pw = ::getpwuid(::geteuid());
  for (const auto& [key, with] : {std::pair<std::string, std::string>{"${HOME}", home},
                                  {"${USER}", pw != nullptr ? pw->pw_name : ""}}) {
    for (auto at = value.find(key); at != std::string::npos; at = value.find(key))
      value.replace(at, key.size(), with);
  }
  return value;
}

// A CUPS scheduler of the test's own with one CUPS-PDF queue, which the environment of this
// process (and so of the programs it starts) names as the print server and the default printer.
// Jobs are numbered from a base taken from the process id, so the PDFs of two test runs at the
// same time never share a name. Stop removes the PDFs, folders and log the queue's jobs added.
class PrivateSpooler {
 public:
  // Empty when the scheduler runs, else why it cannot.
  std::string Start() {
    if (::geteuid() != 0)
      return "CUPS-PDF's backend runs only under a scheduler started as root";
    for (const char* file : {kCupsd, kBackend, kPpd, kCupsPdfConf}) {
      if (!fs::exists(file))
        return std::string(file) + " is missing (cups, printer-driver-cups-pdf)";
    }
    for (const char* command : {"lpadmin", "lpstat", "cupsaccept", "cupsreject", "pdftotext"}) {
      if (!test::HaveCommand(command))
        return std::string(command) + " is not installed (cups-client, poppler-utils)";
    }
    std::string pattern = (fs::temp_directory_path() / "rh-spooler-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      return "no temporary folder";
    folder_ = pattern;
    // The scheduler's filters run as the lp user and must reach the spool folder inside.
    fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    queue = "rh-test-" + std::to_string(::getpid());
    firstJob_ = 1000 + (::getpid() % 100000) * 100;
    fs::create_directories(folder_ / "cache");
    fs::create_directories(folder_ / "spool");
    fs::create_directories(folder_ / "state");
    const std::string socket = (folder_ / "cups.sock").string();
    std::ofstream(folder_ / "cupsd.conf") << "Listen " << socket << "\n"
                                          << "LogLevel warn\nBrowsing No\nWebInterface No\n"
                                             "ErrorPolicy abort-job\n"
                                             "<Location />\n  Order allow,deny\n  Allow all\n"
                                             "</Location>\n"
                                             "<Policy default>\n  <Limit All>\n"
                                             "    Order deny,allow\n  </Limit>\n</Policy>\n";
    std::ofstream(folder_ / "cups-files.conf")
        << "ServerRoot " << folder_.string() << "\nStateDir " << (folder_ / "state").string()
        << "\nCacheDir " << (folder_ / "cache").string() << "\nRequestRoot "
        << (folder_ / "spool").string() << "\nErrorLog " << (folder_ / "error_log").string()
        << "\nAccessLog " << (folder_ / "access_log").string() << "\nPageLog "
        << (folder_ / "page_log").string() << "\n";
    std::ofstream(folder_ / "cache/job.cache") << "NextJobId " << firstJob_ << "\n";

    for (const std::string& home : Homes())
      outputs_.emplace_back(CupsPdfSetting("Out", "${HOME}/PDF", home));
    outputs_.emplace_back(CupsPdfSetting("AnonDirName", "/var/spool/cups-pdf/ANONYMOUS"));
    for (const fs::path& out : outputs_) {
      if (!fs::exists(out))
        newFolders_.push_back(out);
    }
    const fs::path log =
        fs::path(CupsPdfSetting("Log", "/var/log/cups")) / ("cups-pdf-" + queue + "_log");
    if (!fs::exists(log))
      log_ = log;

    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives the test
      const std::string conf = (folder_ / "cupsd.conf").string();
      ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (pid_ < 0)
      return "the scheduler could not be started";
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    ::setenv("LPDEST", queue.c_str(), 1);  // over any default of the user's lpoptions
    if (!WaitFor([] { return Run("lpstat -r").out.find("is running") != std::string::npos; },
                 std::chrono::seconds(20)))
      return "the scheduler did not start: " + test::ReadFile((folder_ / "error_log").string());
    // Rendered through pdftocairo, the queue's PDFs keep the report's text readable.
    const auto added = Run("lpadmin -p " + queue + " -E -v cups-pdf:/ -P " + kPpd +
                           " -o pdftops-renderer-default=pdftocairo && lpadmin -d " + queue);
    if (added.status != 0)
      return "the CUPS-PDF queue could not be added: " + added.out;
    return {};
  }

  void Stop() {
    if (pid_ > 0) {
      // Jobs still being turned into PDFs finish first, so their files can be removed.
      WaitFor([&] { return Run("lpstat -o " + queue).out.empty(); }, std::chrono::seconds(60));
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
      pid_ = 0;
    }
    for (const fs::path& pdf : Pdfs()) {
      if (IsOurs(pdf))
        fs::remove(pdf);
    }
    std::error_code ignored;
    for (const fs::path& out : newFolders_)
      fs::remove(out, ignored);  // only when empty
    if (!log_.empty())
      fs::remove(log_, ignored);
    if (!folder_.empty())
      fs::remove_all(folder_, ignored);
  }

  // The PDFs in CUPS-PDF's output folders.
  std::set<fs::path> Pdfs() const {
    std::set<fs::path> pdfs;
    for (const fs::path& out : outputs_) {
      std::error_code error;
      for (fs::directory_iterator it(out, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".pdf")
          pdfs.insert(it->path());
      }
    }
    return pdfs;
  }

  // Jobs on the queue, finished or not.
  long JobCount() const {
    const std::string jobs = Run("lpstat -W all -o " + queue).out;
    return std::count(jobs.begin(), jobs.end(), '\n');
  }

  static test::CommandResult Run(const std::string& command) {
    return test::RunCommand("(export LC_ALL=C; " + command + ") 2>&1");
  }

  std::string queue;

 private:
  static std::vector<std::string> Homes() {
    std::vector<std::string> homes;
    if (const passwd* pw = ::getpwuid(::geteuid()))
      homes.emplace_back(pw->pw_dir);
    if (const char* home = std::getenv("HOME");
        home != nullptr && std::find(homes.begin(), homes.end(), home) == homes.end())
      homes.emplace_back(home);
    return homes;
  }

  // CUPS-PDF names a job's file "TITLE-job_ID.pdf".
  bool IsOurs(const fs::path& pdf) const {
    const std::string name = pdf.stem().string();
    const auto at = name.rfind("-job_");
    if (at == std::string::npos)
      return false;
    const long id = std::atol(name.c_str() + at + 5);
    return id >= firstJob_ && id < firstJob_ + 100;
  }

  fs::path folder_;
  pid_t pid_ = 0;
  long firstJob_ = 0;
  std::vector<fs::path> outputs_;
  std::vector<fs::path> newFolders_;
  fs::path log_;
};

class Spooler : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    spooler_ = new PrivateSpooler;
    skipped_ = spooler_->Start();
  }
  static void TearDownTestSuite() {
    spooler_->Stop();
    delete spooler_;
  }
  void SetUp() override {
    if (!skipped_.empty())
      GTEST_SKIP() << skipped_;
  }

  // Prints the sample basin with `area` from the command-line companion on the default printer.
  static test::CommandResult PrintFromCli(const std::string& area, const std::string& errFile) {
    return test::RunCommand(std::string(RH_CLI_PATH) + " --tc 10 --rain 2.5 --area " + area +
                            " --coef .85 --peak 250 --print 2>'" + errFile + "' >/dev/null");
  }

  static PrivateSpooler* spooler_;
  static std::string skipped_;
};

PrivateSpooler* Spooler::spooler_ = nullptr;
std::string Spooler::skipped_;

TEST_F(Spooler, ReportLandsAsPdfWithItsTextAndLayout) {
  const auto before = spooler_->Pdfs();
  // An area only this job prints, to tell its PDF from any other.
  const std::string area = std::to_string(60 + ::getpid() % 40) + ".25";
  test::ScratchDir dir;
  const auto printed = PrintFromCli(area, dir / "err.txt");
  ASSERT_EQ(printed.status, 0) << test::ReadFile(dir / "err.txt");

  fs::path pdf;
  std::string text;
  WaitFor(
      [&] {
        for (const fs::path& candidate : spooler_->Pdfs()) {
          const std::string candidateText =
              before.count(candidate) == 0 ? test::PdfText(candidate.string()) : "";
          if (Squeezed(candidateText).find("BASIN AREA " + area + " ACRES") != std::string::npos) {
            pdf = candidate;
            text = candidateText;
          }
        }
        return !pdf.empty();
      },
      std::chrono::seconds(60));
  ASSERT_FALSE(pdf.empty()) << "no PDF with this job's text within 60 s"
                            << " (a queue that renders through pdftocairo keeps the text)";

  std::vector<std::string> lines;
  for (const std::string& line : test::SplitLines(text)) {
    if (!Squeezed(line).empty())
      lines.push_back(Squeezed(line));
  }
  const std::vector<std::string> head = {"RATIONAL METHOD HYDROGRAPH PROGRAM",
                                         "(C) 2026 ORVANE ENGINEERING COMPANY",
                                         "RUN DATE",
                                         "HYDROGRAPH FILE NAME",
                                         "TIME OF CONCENTRATION 10 MIN.",
                                         "6 HOUR RAINFALL 2.5 INCHES",
                                         "BASIN AREA " + area + " ACRES",
                                         "RUNOFF COEFFICIENT .85",
                                         "PEAK DISCHARGE 250 CFS"};
  ASSERT_GE(lines.size(), head.size());
  for (std::size_t i = 0; i < head.size(); ++i)
    EXPECT_EQ(lines[i].substr(0, head[i].size()), head[i]);

  // In the page layout the discharge column starts at the same column on every ordinate line.
  std::size_t column = std::string::npos;
  long ordinateLines = 0;
  for (const std::string& line : test::SplitLines(text)) {
    if (line.find("TIME (MIN) =") == std::string::npos)
      continue;
    ++ordinateLines;
    const auto at = line.find(" DISCHARGE (CFS) =");
    if (column == std::string::npos)
      column = at;
    EXPECT_EQ(at, column) << line;
  }
  EXPECT_EQ(ordinateLines, 38);
  EXPECT_EQ(test::CheckDischargeColumn(test::PdfWords(pdf.string()), 38), "");
  fs::remove(pdf);
}

// A queue that does not accept jobs makes printing a fault with the spooler's words and no job;
// once it accepts jobs again the report prints.
TEST_F(Spooler, RefusedJobsAreFaultsUntilTheQueueAcceptsAgain) {
  const rh::Run basin = test::ComputedBasin({});
  test::FixedClock clock;
  const struct {
    const char* command;
    bool accepting;
  } steps[] = {{"cupsreject", false}, {"cupsaccept", true}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.command);
    ASSERT_EQ(PrivateSpooler::Run(std::string(step.command) + " " + spooler_->queue).status, 0);
    const long jobs = spooler_->JobCount();

    std::string fault;
    try {
      PrintReport(basin, "", *QtPrinter::DefaultPrinter('.'), clock.ShortDate());
    } catch (const PrinterFault& f) {
      fault = f.what();
    }
    test::ScratchDir dir;
    const auto printed = PrintFromCli("100", dir / "err.txt");
    const std::string err = test::ReadFile(dir / "err.txt");

    if (step.accepting) {
      EXPECT_EQ(fault, "");
      EXPECT_EQ(printed.status, 0) << err;
      EXPECT_EQ(spooler_->JobCount(), jobs + 2);
    } else {
      EXPECT_NE(fault.find("not accepting jobs"), std::string::npos) << fault;
      EXPECT_EQ(printed.status, 3);
      EXPECT_NE(err.find(fault), std::string::npos) << err;
      EXPECT_EQ(spooler_->JobCount(), jobs);
    }
  }
}

// A default printer named by LPDEST that the print service does not have is named in the fault;
// no job is sent.
TEST_F(Spooler, AMissingDefaultPrinterIsNamed) {
  test::ScratchDir dir;
  const long jobs = spooler_->JobCount();
  const auto printed = test::RunCommand("LPDEST=nosuch " + std::string(RH_CLI_PATH) +
                                        " --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 "
                                        "--print 2>'" +
                                        (dir / "err.txt") + "' >/dev/null");
  EXPECT_EQ(printed.status, 3);
  EXPECT_EQ(test::ReadFile(dir / "err.txt"),
            std::string("rational-hydrograph-cli: ") + messages::kPrintFaultTitle +
                ": The printer \"nosuch\" " + messages::kPrinterMissingText + "\n");
  EXPECT_EQ(spooler_->JobCount(), jobs);
}

}  // namespace
}  // namespace rh

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  rh::GuiSession gui;
  return RUN_ALL_TESTS();
}
