#include "app/window/Main.h"

#include "app/run/OptionTable.h"
#include "app/run/PreparedRun.h"
#include "app/tables/PondFile.h"
#include "app/tables/RainfallTable.h"
#include "app/tables/StudyFile.h"
#include "app/tables/TableText.h"
#include "app/window/Settings.h"
#include "core/Faults.h"

namespace rh {

void Main(Init& state, FileSystem& files, const StartupConfig& config, const StartupOps& ops) {
  InitializeState(state, config.hec1Enabled, config.installDir, config.root);
  ReadSettings(state, files);
  state.SelectedPath = state.ReportPath;
  state.Memory = LoadUserMemory(files, state.UserSettingsDir);
  state.Choices = {};
  state.Choices.ChartPeak = config.peakChart;
  // A start-up table that cannot serve is answered by the program's warning (a return period it
  // cannot give, under the rainfall table's title); the program carries on without it.
  const auto readOrWarn = [&](const auto& read) {
    try {
      read();
    } catch (const std::exception& fault) {
      const FaultReport report =
          ReportFault(fault, {messages::kRainfallTableTitle, messages::kRainfallTableTitle, {}});
      if (!report.IsRefusal())
        throw;
      ops.ShowWarning(report.Title, report.Text);
    }
  };
  if (!config.rainfall.empty()) {
    readOrWarn([&] {
      state.Choices.Rainfall = tables::ReadOrRefuse(
          messages::kRainfallTableTitle, RunEntry::RainfallTable,
          [&] { return LoadRainfall(files, config.rainfall, config.rainfall, config.ari); });
      NoteFolder(state.Memory, DialogFolder::OpenedTables, config.rainfall);
    });
  }
  if (!config.pond.empty()) {
    readOrWarn([&] {
      state.Choices.Pond =
          tables::ReadOrRefuse(messages::kPondTableTitle, RunEntry::PondTable,
                               [&] { return LoadPond(files, config.pond, config.pond); });
      NoteFolder(state.Memory, DialogFolder::OpenedTables, config.pond);
    });
  }
  ops.ShowMainMenu();
  for (int screen = 1; screen <= 3; ++screen)
    ops.ShowMethodTextModal(screen);
}

namespace {

using ProgramOption = Option<ProgramOptions>;

const ProgramOption kProgramOptions[] = {
    {"--hec1", Takes::Nothing, nullptr, "turn the HEC-1 input deck feature on for this run",
     [](ProgramOptions& o, const std::string&) { o.hec1 = true; }},
    {"--rainfall", Takes::Value, "FILE",
     "every run's storm from a rainfall table (a NOAA Atlas 14\n"
     "export, or CSV duration_min,depth_in); P6 is its 6-hour depth",
     [](ProgramOptions& o, const std::string& v) { o.rainfall = v; }},
    {"--ari", Takes::Value, "YEARS", "the table's return period, when it has several",
     [](ProgramOptions& o, const std::string& v) { o.ari = v; }},
    {"--pond", Takes::Value, "FILE",
     "route every run through a pond (stage_ft,storage_acft,outflow_cfs)",
     [](ProgramOptions& o, const std::string& v) { o.pond = v; }},
    {"--peak-chart", Takes::Nothing, nullptr, "the peak discharge from the chart: C x I(Tc) x A",
     [](ProgramOptions& o, const std::string&) { o.peakChart = true; }},
    {"--study-file", Takes::Value, "FILE",
     "open the study file FILE.rhstudy in the study window, with no\n"
     "method screens (a bare FILE.rhstudy does the same)",
     [](ProgramOptions& o, const std::string& v) { o.studyFile = v; }},
    {"--open-study", Takes::Nothing, nullptr, "choose a study file to open in the study window",
     [](ProgramOptions& o, const std::string&) { o.openStudy = true; }},
    {"--help", Takes::Nothing, nullptr, "print this usage and exit",
     [](ProgramOptions& o, const std::string&) { o.help = true; }},
    {"--version", Takes::Nothing, nullptr, "print the program version and exit",
     [](ProgramOptions& o, const std::string&) { o.version = true; }},
};

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  ProgramOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const ProgramOption* option =
        i == 0 ? nullptr : FindOption(kProgramOptions, argument == "-h" ? "--help" : argument);
    if (option == nullptr && i > 0 && IsStudyFileName(argument) && !LooksLikeOption(argument)) {
      options.studyFile = argument;
      continue;
    }
    if (option == nullptr) {
      options.qtArguments.push_back(argument);
      continue;
    }
    std::string value;
    if (option->takes == Takes::Value) {
      if (i + 1 >= arguments.size() || LooksLikeOption(arguments[i + 1])) {
        options.problem = "option " + argument + " has no value";
        return options;
      }
      value = arguments[++i];
    }
    option->set(options, value);
  }
  // The windowed program takes no 6-hour rainfall as an option: the main screen's box holds it.
  if (StormChoiceOf(false, !options.rainfall.empty(), !options.ari.empty()) ==
      StormChoiceProblem::PeriodsWithoutTable)
    options.problem = messages::kAriWithoutTableText;
  const bool runOptions =
      options.hec1 || !options.rainfall.empty() || !options.pond.empty() || options.peakChart;
  if ((!options.studyFile.empty() || options.openStudy) && runOptions)
    options.problem = messages::kStudyWindowOnlyText;
  return options;
}

std::string ProgramUnknownOptionText(const std::string& argument) {
  return UnknownOptionText(argument, kProgramOptions);
}

std::string ProgramUsage() {
  constexpr std::size_t kHelpColumn = 21;
  return "Usage: rational-hydrograph [--hec1] [--rainfall FILE [--ari YEARS]] [--pond FILE]\n"
         "           [--peak-chart] [Qt options]\n"
         "       rational-hydrograph [--study-file] FILE.rhstudy | --open-study [Qt options]\n"
         "       rational-hydrograph --help | --version\n"
         "\n"
         "Builds the rational-method design-storm runoff hydrograph of a drainage basin in a\n"
         "window. For scripts and batch runs use rational-hydrograph-cli.\n"
         "\n" +
         OptionLines(kProgramOptions, kHelpColumn) +
         "\n"
         "Settings: $XDG_CONFIG_HOME/rational-hydrograph/Setup.ini (~/.config when unset), else\n"
         "the Setup.ini of the program folder.\n";
}

}  // namespace rh
