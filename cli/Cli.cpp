#include "Cli.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "Batch.h"
#include "Version.h"
#include "app/RainfallTable.h"
#include "app/RunBasin.h"
#include "app/RunRequest.h"
#include "core/Faults.h"
#include "core/Messages.h"
#include "output/Hec1Deck.h"
#include "output/HydrographTable.h"
#include "output/Plot.h"
#include "output/ResultsListing.h"
#include "output/VolumeCheck.h"
#include "platform/FileSystem.h"
#include "platform/SystemClock.h"

namespace rh::cli {

namespace {

constexpr const char* kUsageText =
    "Usage: rational-hydrograph-cli --tc TEXT --rain TEXT --area TEXT --coef TEXT --peak TEXT\n"
    "           [--csv | --check] [--hec1 PATH] [--report FILE.pdf] [--print]\n"
    "           [--plot FILE.svg|FILE.png]\n"
    "       rational-hydrograph-cli --tc TEXT --rainfall FILE [--ari YEARS] --area TEXT\n"
    "           --coef TEXT --peak TEXT|chart [...]\n"
    "       rational-hydrograph-cli --batch FILE.csv --out DIR [--hec1] [--summary-only]\n"
    "\n"
    "Builds the rational-method design-storm hydrograph of one basin, or of every basin of a "
    "table.\n"
    "\n"
    "  --tc TEXT          time of concentration, minutes (rounded to a whole number, at least 5)\n"
    "  --rain TEXT        6-hour rainfall P6, inches\n"
    "  --area TEXT        basin area, acres\n"
    "  --coef TEXT        rational-method runoff coefficient C\n"
    "  --peak TEXT        rational-method peak discharge, cfs; \"chart\": C x I(Tc) x A from the\n"
    "                     rainfall in use, rounded to 0.1 cfs\n"
    "  --rainfall FILE    the storm's depths from a rainfall table instead of the county chart\n"
    "                     (a NOAA Atlas 14 export, or CSV duration_min,depth_in), log-log\n"
    "                     between its durations; replaces --rain (P6 is the table's 6-hour depth)\n"
    "  --ari YEARS        the return period to take from a table with several\n"
    "  --csv              print time_min,discharge_cfs rows instead of the results listing\n"
    "  --check            after the listing, check the runoff volume and the peak discharge\n"
    "  --hec1 PATH        run with the HEC-1 feature on (ten zero ordinates close the\n"
    "                     hydrograph) and write the HEC-1 input deck to PATH\n"
    "  --report FILE.pdf  write the printed report to a PDF file\n"
    "  --print            send the printed report to the default printer\n"
    "  --plot FILE        also draw the hydrograph as FILE.svg or FILE.png\n"
    "  --batch FILE       run every basin of FILE.csv (header name,tc,rain,area,coef,peak,\n"
    "                     optionally rainfall,ari; an empty peak is the chart's)\n"
    "  --out DIR          batch output folder: NAME.txt listings and summary.csv\n"
    "  --hec1             with --batch (no PATH): also write DIR/NAME.hc1 decks\n"
    "  --summary-only     with --batch, write summary.csv only\n"
    "  --help             show this help\n"
    "  --version          show the program version\n"
    "\n"
    "Values are read as the entry boxes of the windowed program read them.\n"
    "The listing goes to standard output only when every requested deck, report, print job and\n"
    "plot has been written.\n"
    "Exit status: 0 done, 2 entries refused, 3 fault, 4 some batch rows failed, 64 usage "
    "error.\n";

struct Options {
  std::map<std::string, std::string> values;  // --tc, --rain, --area, --coef, --peak
  bool csv = false;
  bool check = false;
  std::optional<std::string> plot;       // chart file
  std::optional<std::string> batch;      // basin table
  std::optional<std::string> out;        // batch output folder
  bool hec1 = false;                     // --hec1 given
  std::optional<std::string> hec1Path;   // --hec1 PATH (a single run's deck)
  std::optional<std::string> reportPdf;  // --report: printed report as a PDF file
  std::optional<std::string> rainfall;   // --rainfall: a rainfall depth table
  std::optional<std::string> ari;        // --ari: its return period
  bool print = false;                    // --print: printed report on the default printer
  bool summaryOnly = false;
  bool help = false;
  bool version = false;
};

constexpr const char* kRain = "--rain";
const char* const kValueOptions[] = {"--tc", kRain, "--area", "--coef", "--peak"};

bool IsValueOption(const std::string& name) {
  for (const char* option : kValueOptions) {
    if (name == option)
      return true;
  }
  return false;
}

// True when `a` and `b` name the same file: the same path once made absolute and cleaned, or,
// when both exist, the same file under two names.
bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path pa = fs::absolute(a, error).lexically_normal();
  const fs::path pb = fs::absolute(b, error).lexically_normal();
  if (pa == pb)
    return true;
  return fs::exists(pa, error) && fs::exists(pb, error) && fs::equivalent(pa, pb, error);
}

// Parses the arguments; on a usage error returns nothing and writes why to `problem`.
std::optional<Options> Parse(const std::vector<std::string>& args, std::string& problem) {
  Options options;
  std::set<std::string> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.erase(eq);
    }
    // A second value would silently replace the first: a script with a slip is told instead.
    if (!given.insert(name == "-h" ? "--help" : name).second) {
      problem = "option " + name + " is given twice";
      return std::nullopt;
    }
    // The option's value: after "=" or the next argument.
    const auto value = [&]() -> std::optional<std::string> {
      if (inlineValue)
        return inlineValue;
      if (i + 1 < args.size())
        return args[++i];
      problem = "option " + name + " needs a value";
      return std::nullopt;
    };
    if (IsValueOption(name)) {
      const std::optional<std::string> text = value();
      if (!text)
        return std::nullopt;
      options.values[name] = *text;
    } else if (name == "--plot" || name == "--batch" || name == "--out" || name == "--report" ||
               name == "--rainfall" || name == "--ari") {
      std::optional<std::string>& target = name == "--plot"       ? options.plot
                                           : name == "--batch"    ? options.batch
                                           : name == "--out"      ? options.out
                                           : name == "--rainfall" ? options.rainfall
                                           : name == "--ari"      ? options.ari
                                                                  : options.reportPdf;
      target = value();
      if (!target)
        return std::nullopt;
    } else if (name == "--hec1") {
      // A deck path for a single run (--hec1 PATH or --hec1=PATH); a bare flag with --batch.
      options.hec1 = true;
      if (inlineValue)
        options.hec1Path = *inlineValue;
      else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
        options.hec1Path = args[++i];
    } else if (!inlineValue && name == "--print") {
      options.print = true;
    } else if (!inlineValue && name == "--csv") {
      options.csv = true;
    } else if (!inlineValue && name == "--check") {
      options.check = true;
    } else if (!inlineValue && name == "--summary-only") {
      options.summaryOnly = true;
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
  if (options.batch) {
    if (!options.values.empty() || options.csv || options.check || options.plot ||
        options.reportPdf || options.print || options.rainfall || options.ari) {
      problem =
          "--batch takes the basins from the table (rainfall tables in its rainfall and ari "
          "columns): drop --tc, --rain, --area, --coef, --peak, --csv, --check, --plot, "
          "--report, --print, --rainfall and --ari";
      return std::nullopt;
    }
    if (!options.out) {
      problem = "--batch needs --out DIR";
      return std::nullopt;
    }
    if (options.hec1Path) {
      problem = "with --batch, --hec1 takes no path (the decks go to DIR/NAME.hc1)";
      return std::nullopt;
    }
    return options;
  }
  if (options.out || options.summaryOnly) {
    problem = "--out and --summary-only go with --batch";
    return std::nullopt;
  }
  if (options.hec1 && !options.hec1Path) {
    problem = "option --hec1 needs a value (a deck path) unless --batch is given";
    return std::nullopt;
  }
  if (options.csv && options.check) {
    problem = "--csv and --check cannot be combined";
    return std::nullopt;
  }
  if (options.plot && !PlotFormatOf(*options.plot)) {
    problem = "the --plot file must end in .svg or .png";
    return std::nullopt;
  }
  // HEC-1 reads its input deck record by record, one a line: the station name (the deck's file
  // name) must not break its KK record.
  if (options.hec1Path && Hec1StationNameBreaksRecord(*options.hec1Path)) {
    problem =
        "the --hec1 file name holds a control character (a line break, a tab...); HEC-1 "
        "reads the deck line by line: choose a plain name";
    return std::nullopt;
  }
  // One run never writes two of its outputs over each other.
  const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
      {"--hec1", &options.hec1Path}, {"--report", &options.reportPdf}, {"--plot", &options.plot}};
  for (std::size_t i = 0; i < std::size(outputs); ++i) {
    for (std::size_t j = i + 1; j < std::size(outputs); ++j) {
      if (*outputs[i].second && *outputs[j].second &&
          SameFile(**outputs[i].second, **outputs[j].second)) {
        problem = std::string(outputs[i].first) + " and " + outputs[j].first +
                  " name the same file; give each output its own";
        return std::nullopt;
      }
    }
  }
  if (options.rainfall && options.values.count("--rain") != 0) {
    problem =
        "--rain and --rainfall cannot be combined: the rainfall table gives the 6-hour "
        "rainfall";
    return std::nullopt;
  }
  if (options.ari && !options.rainfall) {
    problem = "--ari goes with --rainfall";
    return std::nullopt;
  }
  if (options.ari && !ParseReturnPeriod(*options.ari)) {
    problem = "--ari takes a return period in years, such as 100";
    return std::nullopt;
  }
  for (const char* option : kValueOptions) {
    if (options.values.count(option) == 0 && !(options.rainfall && option == kRain)) {
      problem = std::string("missing option ") + option;
      return std::nullopt;
    }
  }
  return options;
}

// "chart" in the peak discharge option: the peak from the rainfall.
bool IsChart(const std::string& entry) {
  std::string word = TrimSpaces(entry);
  for (char& c : word)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word == "chart";
}

// The title a failed output is reported under.
std::string FailureText(const OutputFailure& failure) {
  switch (failure.Which) {
    case Output::Deck:
      return std::string(messages::kDeckFaultTitle) + ": " + failure.Message;
    case Output::Pdf:
    case Output::Print:
      return std::string(messages::kPrintFaultTitle) + ": " + failure.Message;
    case Output::Listing:
    case Output::Plot:
      break;
  }
  return failure.Message;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        OutputDevices& devices) {
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

  if (options->batch) {
    BatchCommand command;
    command.CsvPath = *options->batch;
    command.OutDir = *options->out;
    command.Hec1 = options->hec1;
    command.SummaryOnly = options->summaryOnly;
    return RunBatchCommand(command, out, err);
  }

  // --hec1 turns the HEC-1 feature on for this run: the ten-zero tail and the deck at its path.
  RunEntries entries;
  entries.TimeOfConcentration = options->values.at("--tc");
  if (!options->rainfall)
    entries.SixHourRainfall = options->values.at(kRain);
  entries.BasinArea = options->values.at("--area");
  entries.RunoffCoefficient = options->values.at("--coef");
  entries.PeakDischarge = options->values.at("--peak");
  StormChoice storm;
  storm.ChartPeak = IsChart(entries.PeakDischarge);
  if (options->rainfall) {
    // The table is read, and refused, before anything is written.
    try {
      StdFileSystem files;
      storm.Rainfall = LoadRainfall(files, *options->rainfall, *options->rainfall,
                                    options->ari.value_or(std::string()));
    } catch (const RainfallUsageError& error) {
      err << "rational-hydrograph-cli: " << error.what() << "\n\n" << kUsageText;
      return kUsage;
    } catch (const std::exception& refusal) {
      err << messages::kRainfallTableTitle << ": " << refusal.what() << '\n';
      return kRefused;
    }
  }
  OutputRequest request;
  request.DeckPath = options->hec1Path;
  request.PdfPath = options->reportPdf;
  request.Print = options->print;
  request.PlotPath = options->plot;
  request.Check = options->check;

  std::optional<BasinRun> basin;
  try {
    const RequestOutcome outcome =
        ParseRunEntries(entries, options->hec1Path ? kZeroTailHec1 : kZeroTail, storm);
    if (const Refusal* refusal = std::get_if<Refusal>(&outcome)) {
      err << refusal->Title << ": " << refusal->Text << '\n';
      return kRefused;
    }
    StdFileSystem files;
    const std::unique_ptr<Clock> clock = MakeSystemClock();
    basin = RunBasin(std::get<RunInputs>(outcome), request, RunServices{files, *clock, &devices});
  } catch (const Fault& fault) {
    err << "rational-hydrograph-cli: " << fault.what() << '\n';
    return kFault;
  }
  if (basin->Failure) {
    err << "rational-hydrograph-cli: " << FailureText(*basin->Failure) << '\n';
    return kFault;
  }

  if (options->csv) {
    out << HydrographCsv(basin->Run);
    return kOk;
  }
  out << ListingText(basin->Run);
  if (basin->Check) {
    for (const std::string& line : CheckLines(*basin->Check))
      out << line << '\n';
  }
  return kOk;
}

}  // namespace rh::cli
