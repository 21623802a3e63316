#include "Cli.h"

#include <map>
#include <optional>
#include <ostream>

#include "Version.h"
#include "app/Init.h"
#include "app/Run.h"
#include "app/RunRequest.h"
#include "output/TextForms.h"
#include "platform/Faults.h"

namespace rh::cli {

namespace {

constexpr const char* kUsageText =
    "Usage: rational-hydrograph-cli --tc TEXT --rain TEXT --area TEXT --coef TEXT --peak TEXT "
    "[--csv]\n"
    "\n"
    "Builds the rational-method design-storm hydrograph of one basin.\n"
    "\n"
    "  --tc TEXT     time of concentration, minutes (rounded to a whole number, at least 5)\n"
    "  --rain TEXT   6-hour rainfall P6, inches\n"
    "  --area TEXT   basin area, acres\n"
    "  --coef TEXT   rational-method runoff coefficient C\n"
    "  --peak TEXT   rational-method peak discharge, cfs\n"
    "  --csv         print time_min,discharge_cfs rows instead of the results listing\n"
    "  --help        show this help\n"
    "  --version     show the program version\n"
    "\n"
    "Values are read as the entry boxes of the windowed program read them.\n"
    "Exit status: 0 done, 2 entries refused, 3 fault, 64 usage error.\n";

struct Options {
  std::map<std::string, std::string> values;  // --tc, --rain, --area, --coef, --peak
  bool csv = false;
  bool help = false;
  bool version = false;
};

const char* const kValueOptions[] = {"--tc", "--rain", "--area", "--coef", "--peak"};

bool IsValueOption(const std::string& name) {
  for (const char* option : kValueOptions) {
    if (name == option)
      return true;
  }
  return false;
}

// Parses the arguments; on a usage error returns nothing and writes why to `problem`.
std::optional<Options> Parse(const std::vector<std::string>& args, std::string& problem) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.erase(eq);
    }
    if (IsValueOption(name)) {
      if (inlineValue) {
        options.values[name] = *inlineValue;
      } else if (i + 1 < args.size()) {
        options.values[name] = args[++i];
      } else {
        problem = "option " + name + " needs a value";
        return std::nullopt;
      }
    } else if (!inlineValue && name == "--csv") {
      options.csv = true;
    } else if (!inlineValue && (name == "--help" || name == "-h")) {
      options.help = true;
    } else if (!inlineValue && name == "--version") {
      options.version = true;
    } else {
      problem = "unknown option " + args[i];
      return std::nullopt;
    }
  }
  if (options.help || options.version)
    return options;
  for (const char* option : kValueOptions) {
    if (options.values.count(option) == 0) {
      problem = std::string("missing option ") + option;
      return std::nullopt;
    }
  }
  return options;
}

void WriteCsv(const Init& state, std::ostream& out) {
  out << "time_min,discharge_cfs\n";
  for (long n = 0; n <= state.OrdinateCount; ++n) {
    out << PlainNumber(state.TimeOfConcentration * static_cast<double>(n)) << ','
        << PlainNumber(state.Hydrograph(n)) << '\n';
  }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto options = Parse(args, problem);
  if (!options) {
    err << "rational-hydrograph-cli: " << problem << "\n\n" << kUsageText;
    return kUsage;
  }
  if (options->help) {
    out << kUsageText;
    return kOk;
  }
  if (options->version) {
    out << "rational-hydrograph-cli " << kVersion << '\n';
    return kOk;
  }

  Init state;
  InitializeState(state, false, "", "/");
  RunEntries entries;
  entries.Path = "";
  entries.TimeOfConcentration = options->values.at("--tc");
  entries.SixHourRainfall = options->values.at("--rain");
  entries.BasinArea = options->values.at("--area");
  entries.RunoffCoefficient = options->values.at("--coef");
  entries.PeakDischarge = options->values.at("--peak");

  std::optional<std::string> refusal;
  std::vector<std::string> lines;
  RunRequestOps ops;
  ops.ShowWarning = [&](const std::string& title, const std::string& text) {
    refusal = title + ": " + text;
  };
  ops.ShowResultsModal = [&] { lines = ComputeResults(state); };

  try {
    RequestRun(state, entries, ops);
  } catch (const Fault& fault) {
    err << "rational-hydrograph-cli: " << fault.what() << '\n';
    return kFault;
  }
  if (refusal) {
    err << *refusal << '\n';
    return kRefused;
  }

  if (options->csv) {
    WriteCsv(state, out);
  } else {
    for (const std::string& line : lines)
      out << line << '\n';
  }
  return kOk;
}

}  // namespace rh::cli
