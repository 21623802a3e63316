#include "app/window/Main.h"

#include "app/tables/PondFile.h"
#include "app/tables/RainfallTable.h"
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
    });
  }
  if (!config.pond.empty()) {
    readOrWarn([&] {
      state.Choices.Pond =
          tables::ReadOrRefuse(messages::kPondTableTitle, RunEntry::PondTable,
                               [&] { return LoadPond(files, config.pond, config.pond); });
    });
  }
  ops.ShowMainMenu();
  for (int screen = 1; screen <= 3; ++screen)
    ops.ShowMethodTextModal(screen);
}

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  ProgramOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string* value = argument == "--rainfall" ? &options.rainfall
                         : argument == "--ari"    ? &options.ari
                         : argument == "--pond"   ? &options.pond
                                                  : nullptr;
    if (i > 0 && value != nullptr) {
      if (i + 1 >= arguments.size() || arguments[i + 1].rfind("--", 0) == 0) {
        options.problem = "option " + argument + " has no value";
        return options;
      }
      *value = arguments[++i];
    } else if (i > 0 && (argument == "--help" || argument == "-h")) {
      options.help = true;
    } else if (i > 0 && argument == "--version") {
      options.version = true;
    } else if (i > 0 && argument == "--hec1") {
      options.hec1 = true;
    } else if (i > 0 && argument == "--peak-chart") {
      options.peakChart = true;
    } else {
      options.qtArguments.push_back(argument);
    }
  }
  if (!options.ari.empty() && options.rainfall.empty())
    options.problem = messages::kAriWithoutTableText;
  return options;
}

std::string ProgramUsage() {
  return "Usage: rational-hydrograph [--hec1] [--rainfall FILE [--ari YEARS]] [--pond FILE]\n"
         "           [--peak-chart] [Qt options]\n"
         "       rational-hydrograph --help | --version\n"
         "\n"
         "Builds the rational-method design-storm runoff hydrograph of a drainage basin in a\n"
         "window. For scripts and batch runs use rational-hydrograph-cli.\n"
         "\n"
         "  --hec1             turn the HEC-1 input deck feature on for this run\n"
         "  --rainfall FILE    every run's storm from a rainfall table (a NOAA Atlas 14\n"
         "                     export, or CSV duration_min,depth_in); P6 is its 6-hour depth\n"
         "  --ari YEARS        the table's return period, when it has several\n"
         "  --pond FILE        route every run through a pond (stage_ft,storage_acft,outflow_cfs)\n"
         "  --peak-chart       the peak discharge from the chart: C x I(Tc) x A\n"
         "  --help             print this usage and exit\n"
         "  --version          print the program version and exit\n"
         "\n"
         "Settings: $XDG_CONFIG_HOME/rational-hydrograph/Setup.ini (~/.config when unset), else\n"
         "the Setup.ini of the program folder.\n";
}

}  // namespace rh
