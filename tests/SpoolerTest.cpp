// Prints a report through the real print spooler onto a CUPS-PDF queue and reads the PDF that
// comes out. Skipped when the host has no default print queue; ./dev.sh test sets one up.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"

namespace rh {
namespace {

namespace fs = std::filesystem;

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

// The folders CUPS-PDF may put this user's jobs in: its Out setting with the user's home, and
// the folder for jobs of users it does not know.
std::vector<fs::path> OutputFolders() {
  std::string out = "${HOME}/PDF";
  std::string anonymous = "/var/spool/cups-pdf/ANONYMOUS";
  for (const std::string& line : test::SplitLines(test::ReadFile("/etc/cups/cups-pdf.conf"))) {
    if (line.rfind("Out ", 0) == 0)
      out = line.substr(4);
    if (line.rfind("AnonDirName ", 0) == 0)
      anonymous = line.substr(12);
  }
  std::vector<std::string> homes;
  std::string user;
  if (const passwd* pw = ::getpwuid(::geteuid())) {
    homes.emplace_back(pw->pw_dir);
    user = pw->pw_name;
  }
  if (const char* home = std::getenv("HOME"))
    homes.emplace_back(home);
  std::vector<fs::path> folders;
  for (const std::string& home : homes) {
    std::string folder = out;
    for (const auto& [name, value] :
         {std::pair<std::string, std::string>{"${HOME}", home}, {"${USER}", user}}) {
      for (auto at = folder.find(name); at != std::string::npos; at = folder.find(name))
        folder.replace(at, name.size(), value);
    }
    if (std::find(folders.begin(), folders.end(), fs::path(folder)) == folders.end())
      folders.emplace_back(folder);
  }
  folders.emplace_back(anonymous);
  return folders;
}

std::set<fs::path> Pdfs(const std::vector<fs::path>& folders) {
  std::set<fs::path> pdfs;
  for (const fs::path& folder : folders) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      if (it->path().extension() == ".pdf")
        pdfs.insert(it->path());
    }
  }
  return pdfs;
}

TEST(Spooler, ReportPrintedOnTheDefaultQueue) {
  const auto queue = test::RunCommand("LC_ALL=C lpstat -d 2>/dev/null");
  if (queue.status != 0 || queue.out.find("system default destination:") == std::string::npos)
    GTEST_SKIP() << "no default print queue (./dev.sh test sets up a CUPS-PDF queue)";
  if (!test::HaveCommand("pdftotext"))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";

  const auto folders = OutputFolders();
  const auto before = Pdfs(folders);
  // An area only this job prints, to tell its PDF from any other.
  const std::string area = std::to_string(100 + ::getpid() % 900) + ".25";
  const std::string command = std::string(RH_CLI_PATH) + " --tc 10 --rain 2.5 --area " + area +
                              " --coef .85 --peak 250 --print 2>&1 >/dev/null";
  const auto printed = test::RunCommand(command);
  ASSERT_EQ(printed.status, 0) << printed.out;

  fs::path pdf;
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (pdf.empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    for (const fs::path& candidate : Pdfs(folders)) {
      if (before.count(candidate) != 0)
        continue;
      const std::string candidateText = test::PdfText(candidate.string());
      if (Squeezed(candidateText).find("BASIN AREA " + area + " ACRES") != std::string::npos) {
        pdf = candidate;
        text = candidateText;
      }
    }
  }
  std::string looked;
  for (const fs::path& folder : folders)
    looked += " " + folder.string();
  ASSERT_FALSE(pdf.empty()) << "no PDF with this job's text within 60 s in" << looked
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

}  // namespace
}  // namespace rh
