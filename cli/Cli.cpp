#include "Cli.h"

#include <algorithm>
#include <ostream>
#include <set>

#include "Version.h"
#include "app/companion/Companion.h"
#include "app/run/OptionTable.h"
#include "app/run/Outputs.h"
#include "core/Faults.h"
#include "core/ShownText.h"

namespace rh::cli {

namespace {

// What the command line asks for: the companion's options, or help or the version.
struct Parsed {
  CompanionOptions options;
  bool help = false;
  bool version = false;
};

// One option: its name, its value's name in the usage, its help and what it sets. An option
// without a setter asks for the output whose option it is.
using Option = rh::Option<Parsed>;

// A whole number of minutes, at least 1.
long Minutes(const std::string& text) {
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      std::stol(text) < 1)
    throw UsageError(messages::kRouteStepValueText);
  return std::stol(text);
}

// "2,10,25,100": the return periods as typed, one by one.
std::vector<std::string> ReturnPeriods(const std::string& text) {
  std::vector<std::string> periods;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    periods.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos)
      return periods;
    start = comma + 1;
  }
}

// The option of an output, from the output table.
Option OutputOption(OutputKind kind) {
  const OptionHelp& option = OutputOf(kind).Option;
  return {option.name, option.takes, option.value, option.help, nullptr};
}

// Where the options of the outputs not placed in the table below are listed.
constexpr Option kOtherOutputs = {nullptr, Takes::Nothing, nullptr, nullptr, nullptr};

// The options in the order of the usage.
const Option kPlacedOptions[] = {
    {"--tc", Takes::Value, "TEXT",
     "time of concentration, minutes (rounded to a whole number, at least 5)",
     [](Parsed& p, const std::string& v) { p.options.Entries.TimeOfConcentration = v; }},
    {"--rain", Takes::Value, "TEXT", "6-hour rainfall P6, inches",
     [](Parsed& p, const std::string& v) { p.options.Entries.SixHourRainfall = v; }},
    {"--area", Takes::Value, "TEXT", "basin area, acres",
     [](Parsed& p, const std::string& v) { p.options.Entries.BasinArea = v; }},
    {"--coef", Takes::Value, "TEXT", "rational-method runoff coefficient C (0 to 1)",
     [](Parsed& p, const std::string& v) { p.options.Entries.RunoffCoefficient = v; }},
    {"--peak", Takes::Value, "TEXT",
     "rational-method peak discharge, cfs; \"chart\": C x I(Tc) x A from the\n"
     "rainfall in use, rounded to 0.1 cfs",
     [](Parsed& p, const std::string& v) { p.options.Entries.PeakDischarge = v; }},
    {"--rainfall", Takes::Value, "FILE",
     "the storm's depths from a rainfall table instead of the county chart\n"
     "(a NOAA Atlas 14 export, or CSV duration_min,depth_in), log-log\n"
     "between its durations; replaces --rain (P6 is the table's 6-hour depth)",
     [](Parsed& p, const std::string& v) { p.options.Rainfall = v; }},
    {"--ari", Takes::Value, "YEARS",
     "the return period to take from a table with several; several as\n"
     "2,10,25,100 give one run after another (with --plot and --study, one\n"
     "chart and one document for all of them)",
     [](Parsed& p, const std::string& v) { p.options.ReturnPeriods = ReturnPeriods(v); }},
    {"--pond", Takes::Value, "FILE",
     "route the hydrograph through a detention pond: a CSV table\n"
     "stage_ft,storage_acft,outflow_cfs (storage indication), or a .json\n"
     "pond file of the pond's shape and outlets",
     [](Parsed& p, const std::string& v) { p.options.Pond = v; }},
    {"--route-step", Takes::Value, "MIN", "the routing step, whole minutes dividing Tc (default 1)",
     [](Parsed& p, const std::string& v) { p.options.RouteStepMinutes = Minutes(v); }},
    OutputOption(OutputKind::PondCsv),
    OutputOption(OutputKind::PondRating),
    OutputOption(OutputKind::Swmm),
    OutputOption(OutputKind::Csv),
    {"--check", Takes::Nothing, nullptr,
     "after the listing, check the runoff volume and the peak discharge",
     [](Parsed& p, const std::string&) { p.options.Check = true; }},
    {"--hec1", Takes::OptionalValue, "PATH",
     "run with the HEC-1 feature on (ten zero ordinates close the\n"
     "hydrograph) and write the HEC-1 input deck to PATH; with --batch\n"
     "(no PATH) also write DIR/NAME.hc1 decks",
     [](Parsed& p, const std::string& v) {
       p.options.Hec1 = true;
       p.options.DeckPath = v;
     }},
    OutputOption(OutputKind::Report),
    OutputOption(OutputKind::Print),
    OutputOption(OutputKind::Plot),
    OutputOption(OutputKind::Study),
    kOtherOutputs,
    {"--project", Takes::Value, "TEXT", "the study's project name",
     [](Parsed& p, const std::string& v) { p.options.Project = v; }},
    {"--basin", Takes::Value, "TEXT", "the study's basin name",
     [](Parsed& p, const std::string& v) { p.options.Basin = v; }},
    {"--engineer", Takes::Value, "TEXT", "the study's engineer",
     [](Parsed& p, const std::string& v) { p.options.Engineer = v; }},
    {"--notes", Takes::Value, "TEXT", "the study's notes",
     [](Parsed& p, const std::string& v) { p.options.Notes = v; }},
    {"--study-file", Takes::Value, "FILE.rhstudy",
     "run the study file: the proposed basin routed through its pond against\n"
     "the existing one, for each return period; print the criteria table\n"
     "(exit status 5 when a criterion fails)",
     [](Parsed& p, const std::string& v) { p.options.StudyFile = v; }},
    OutputOption(OutputKind::Summary),
    {"--save-study", Takes::Value, "FILE.rhstudy",
     "also save the run (or the study file opened) as a study file, its\n"
     "tables' paths relative to it",
     [](Parsed& p, const std::string& v) { p.options.SaveStudy = v; }},
    {"--embed-tables", Takes::Nothing, nullptr,
     "with --save-study, hold the rainfall table and a .json pond in the file",
     [](Parsed& p, const std::string&) { p.options.EmbedTables = true; }},
    {"--batch", Takes::Value, "FILE",
     "run every basin of FILE.csv (header name,tc,rain,area,coef,peak,\n"
     "then optionally rainfall, ari and pond; an empty peak is the chart's)",
     [](Parsed& p, const std::string& v) { p.options.Batch = v; }},
    {"--out", Takes::Value, "DIR", "batch output folder: NAME.txt listings and summary.csv",
     [](Parsed& p, const std::string& v) { p.options.OutDir = v; }},
    {"--summary-only", Takes::Nothing, nullptr, "with --batch, write summary.csv only",
     [](Parsed& p, const std::string&) { p.options.SummaryOnly = true; }},
    {"--help", Takes::Nothing, nullptr, "show this help",
     [](Parsed& p, const std::string&) { p.help = true; }},
    {"--version", Takes::Nothing, nullptr, "show the program version",
     [](Parsed& p, const std::string&) { p.version = true; }},
};

// The companion's options: the table above, with every output whose option it does not place
// where kOtherOutputs stands.
const std::vector<Option>& Options() {
  static const std::vector<Option> options = [] {
    std::vector<Option> all;
    for (const Option& option : kPlacedOptions) {
      if (option.name != nullptr) {
        all.push_back(option);
        continue;
      }
      for (const OutputEntry& entry : OutputTable()) {
        const bool placed =
            std::any_of(std::begin(kPlacedOptions), std::end(kPlacedOptions), [&](const Option& o) {
              return o.name != nullptr && entry.Option.name != nullptr &&
                     std::string(o.name) == entry.Option.name;
            });
        if (!placed && entry.Option.name != nullptr && entry.Option.help != nullptr)
          all.push_back(OutputOption(entry.Kind));
      }
    }
    return all;
  }();
  return options;
}

constexpr const char* kSynopsis =
    "Usage: rational-hydrograph-cli --tc TEXT --rain TEXT --area TEXT --coef TEXT --peak TEXT\n"
    "           [--csv | --check] [--hec1 PATH] [--report FILE.pdf] [--print]\n"
    "           [--plot FILE.svg|FILE.png] [--study FILE.pdf [--project TEXT] ...]\n"
    "           [--pond FILE [--route-step MIN] [--pond-csv FILE] [--pond-rating FILE]\n"
    "            [--swmm FILE.inp]]\n"
    "       rational-hydrograph-cli --tc TEXT --rainfall FILE [--ari YEARS[,YEARS...]]\n"
    "           --area TEXT --coef TEXT --peak TEXT|chart [...]\n"
    "       rational-hydrograph-cli --study-file FILE.rhstudy [--summary FILE.csv]\n"
    "           [--study FILE.pdf] [--pond-csv FILE] [--pond-rating FILE]\n"
    "           [--save-study FILE.rhstudy [--embed-tables]]\n"
    "       rational-hydrograph-cli --batch FILE.csv --out DIR [--hec1] [--summary-only]\n"
    "           [--route-step MIN]\n"
    "\n"
    "Builds the rational-method design-storm hydrograph of one basin, or of every basin of a "
    "table.\n"
    "\n";

constexpr const char* kClosing =
    "\n"
    "Values are read as the entry boxes of the windowed program read them.\n"
    "The listing goes to standard output only when every requested deck, report, print job and\n"
    "plot has been written.\n"
    "Exit status: 0 done, 2 entries refused, 3 fault, 4 some batch rows failed, 5 a study\n"
    "failed a design criterion, 64 usage error.\n";

std::string UsageText() {
  constexpr std::size_t kHelpColumn = 21;
  return kSynopsis + OptionLines(Options(), kHelpColumn) + kClosing;
}

Parsed Parse(const std::vector<std::string>& args) {
  Parsed parsed;
  std::set<std::string> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i] == "-h" ? "--help" : args[i];
    if (!LooksLikeOption(name))
      throw UsageError(messages::kUnexpectedArgumentText + ShownText(name) +
                       messages::kNotAnOptionText);
    std::optional<std::string> value;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.erase(eq);
    }
    const Option* option = FindOption(Options(), name);
    if (option == nullptr)
      throw UsageError(UnknownOptionText(name, Options()));
    // A second value would silently replace the first: a script with a slip is told instead.
    if (!given.insert(name).second)
      throw UsageError(messages::kOptionWord + name + messages::kGivenTwiceText);
    const bool nextIsValue = i + 1 < args.size() && !LooksLikeOption(args[i + 1]);
    switch (option->takes) {
      case Takes::Nothing:
        if (value)
          throw UsageError(messages::kOptionWord + name + messages::kTakesNoValueText);
        break;
      case Takes::Value:
        if (!value && !nextIsValue) {
          std::string problem = messages::kOptionWord + name;
          problem.append(messages::kHasNoValueText).append(name).append(" ").append(option->value);
          throw UsageError(problem);
        }
        if (!value)
          value = args[++i];
        break;
      case Takes::OptionalValue:
        if (!value && nextIsValue)
          value = args[++i];
        break;
    }
    if (option->set != nullptr)
      option->set(parsed, value.value_or(std::string()));
    else
      parsed.options.Outputs.push_back({OutputWithOption(name)->Kind, value.value_or("")});
  }
  return parsed;
}

void UsageProblem(std::ostream& err, const std::string& problem) {
  err << kCompanionName << ": " << problem << "\nTry '" << kCompanionName << " --help'.\n";
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const CompanionServices& services) {
  try {
    const Parsed parsed = Parse(args);
    if (parsed.help) {
      out << UsageText();
      return kExitOk;
    }
    if (parsed.version) {
      out << kCompanionName << ' ' << kVersion << '\n';
      return kExitOk;
    }
    return RunCompanion(parsed.options, services, out, err);
  } catch (const UsageError& error) {
    UsageProblem(err, error.what());
    return kExitUsage;
  }
}

}  // namespace rh::cli
