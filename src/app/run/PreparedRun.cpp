#include "app/run/PreparedRun.h"

#include <cctype>
#include <cmath>
#include <string_view>
#include <utility>

#include "app/tables/RainfallTable.h"
#include "app/tables/Val.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "engine/Checked.h"
#include "output/Hec1Deck.h"

namespace rh {

namespace {

constexpr double kSixHours = 360;  // minutes: the design storm, and its P6

bool Blank(const std::string& entry) {
  return entry.find_first_not_of(' ') == std::string::npos;
}

// The five entries in screen order, with the names their warnings give them.
struct EntryName {
  RunEntry entry;
  const char* name;
};
constexpr EntryName kTc{RunEntry::TimeOfConcentration, messages::kTcEntry};
constexpr EntryName kRain{RunEntry::SixHourRainfall, messages::kRainEntry};
constexpr EntryName kArea{RunEntry::BasinArea, messages::kAreaEntry};
constexpr EntryName kCoef{RunEntry::RunoffCoefficient, messages::kCoefEntry};
constexpr EntryName kPeak{RunEntry::PeakDischarge, messages::kPeakEntry};

[[noreturn]] void RefuseEntry(const EntryName& entry, const std::string& text) {
  throw Refused(std::string(messages::kEntryTitle) + entry.name, entry.name + text, entry.entry);
}

// The first blank entry, in screen order, of those the run reads (no 6-hour rainfall with a
// rainfall table, no peak discharge with the chart peak); None when none is blank.
RunEntry FirstBlank(const RunEntries& entries, bool readsRain, bool readsPeak) {
  const std::pair<RunEntry, bool> boxes[] = {
      {RunEntry::TimeOfConcentration, Blank(entries.TimeOfConcentration)},
      {RunEntry::SixHourRainfall, readsRain && Blank(entries.SixHourRainfall)},
      {RunEntry::BasinArea, Blank(entries.BasinArea)},
      {RunEntry::RunoffCoefficient, Blank(entries.RunoffCoefficient)},
      {RunEntry::PeakDischarge, readsPeak && Blank(entries.PeakDischarge)},
  };
  for (const auto& [entry, blank] : boxes) {
    if (blank)
      return entry;
  }
  return RunEntry::None;
}

// An entry's unit as messages name it, and the words that may follow its number (case ignored).
struct Unit {
  const char* name;  // null: the entry has no unit
  const char* words[4];
};
constexpr Unit kMinutes{kNamedUnits.Minutes, {"min", "minutes"}};
constexpr Unit kInches{kNamedUnits.Inches, {"in", "inch", "inches", "\""}};
constexpr Unit kAcres{kNamedUnits.Acres, {"ac", "acre", "acres"}};
constexpr Unit kNoUnit{nullptr, {}};
constexpr Unit kCfs{kNamedUnits.Cfs, {"cfs"}};

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Text after an entry's number is refused unless it is the entry's own unit: "40.5ha" is not 40.5
// acres. For an entry that starts with a number.
void CheckUnit(const EntryName& entry, const std::string& text, const Unit& unit) {
  const std::string trimmed = TrimSpaces(text);
  const std::string_view rest = TextAfterNumber(trimmed);
  if (rest.empty())
    return;
  for (const char* word : unit.words) {
    if (word != nullptr && SameNoCase(rest, word))
      return;
  }
  RefuseEntry(entry, (unit.name != nullptr ? messages::kUnitIsText + std::string(unit.name)
                                           : std::string(messages::kNoUnitText)) +
                         ": '" + ShownText(trimmed) + messages::kUnitGivenText + ShownText(rest) +
                         "'.");
}

// The number an entry holds: refused when no number starts it or it holds a comma (a decimal comma
// would read as the whole part alone), when anything but its unit follows the number, and when it
// is negative.
double EntryValue(const EntryName& entry, const std::string& text, const Unit& unit) {
  const std::optional<double> value = LeadingNumber(TrimSpaces(text));
  if (!value)
    RefuseEntry(entry, messages::kNoNumberText);
  if (text.find(',') != std::string::npos)
    RefuseEntry(entry, messages::kCommaText);
  CheckUnit(entry, text, unit);
  if (*value < 0)
    RefuseEntry(entry, messages::kNegativeText);
  return *value;
}

// The largest peak discharge, on the 0.1 cfs grid, that keeps the block before the peak at zero or
// above as listed: about 2 C A I(2 Tc) + 0.05 (a block of -0.05 lists as 0), settled by the
// engine's own arithmetic.
double LargestPeak(RunInputs in) {
  using namespace checked;
  const double tc = in.TimeOfConcentration;
  const double twoBlocks =
      Mul(Mul(Mul(2, in.RunoffCoefficient), in.BasinArea), StormIntensity(in, Mul(2, tc)));
  double peak = Div(Floor(Mul(Add(twoBlocks, 0.05), 10)), 10);
  const auto keepsZero = [&](double qp) {
    in.PeakDischarge = qp;
    return BlockBeforePeak(in) >= 0;
  };
  for (int step = 0; step < 4 && peak > 0 && !keepsZero(peak); ++step)
    peak = RoundHalfUp(peak - 0.1, 10);
  for (int step = 0; step < 4 && keepsZero(RoundHalfUp(peak + 0.1, 10)); ++step)
    peak = RoundHalfUp(peak + 0.1, 10);
  return peak;
}

// The smallest peak discharge, on the 0.1 cfs grid, that is not below the block before the peak
// as listed: about C A I(2 Tc), rounded up, settled by the engine's own arithmetic.
double SmallestPeak(RunInputs in) {
  using namespace checked;
  const double tc = in.TimeOfConcentration;
  const double oneBlock =
      Mul(Mul(in.RunoffCoefficient, in.BasinArea), StormIntensity(in, Mul(2, tc)));
  double peak = Div(-Floor(-Mul(oneBlock, 10)), 10);
  const auto staysPeak = [&](double qp) {
    in.PeakDischarge = qp;
    return qp >= BlockBeforePeak(in);
  };
  for (int step = 0; step < 4 && !staysPeak(peak); ++step)
    peak = RoundHalfUp(peak + 0.1, 10);
  for (int step = 0; step < 4 && peak > 0 && staysPeak(RoundHalfUp(peak - 0.1, 10)); ++step)
    peak = RoundHalfUp(peak - 0.1, 10);
  return peak;
}

// The block before the peak is 2 C A I(2 Tc) - Qp, the only block the peak enters. A peak larger
// than the storm supports makes it negative; a peak smaller than that block is not the
// hydrograph's peak. Not judged when the storm has no second block, nor for a zero area or
// coefficient (the computation's division fault says so).
void CheckPeak(const RunInputs& in) {
  const SpacedUnitWords units(kTextUnits);
  if (in.BasinArea * in.RunoffCoefficient == 0 || StormBlockCount(in.TimeOfConcentration) < 2)
    return;
  const double before = BlockBeforePeak(in);
  if (before < 0) {
    RefuseEntry(kPeak, " value must be " + PlainNumber(LargestPeak(in)) +
                           messages::kPeakTooLargeText + PlainNumber(ChartPeak(in)) + units.Cfs +
                           ".");
  }
  if (in.PeakDischarge < before) {
    RefuseEntry(kPeak, " value must be " + PlainNumber(SmallestPeak(in)) +
                           messages::kPeakTooSmallText + PlainNumber(ChartPeak(in)) + units.Cfs +
                           ".");
  }
}

struct NamedFile {
  const char* what;
  const std::string* path;
};

// No output on a file the run reads, and no two outputs on one file, compared by the file each name
// resolves to.
void CheckFiles(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& inputs,
                FileSystem& files) {
  if (outputs.empty())
    return;
  std::vector<std::string> outputIds;
  outputIds.reserve(outputs.size());
  for (const NamedFile& output : outputs)
    outputIds.push_back(files.FileIdentity(*output.path));
  for (const NamedFile& input : inputs) {
    const std::string id = files.FileIdentity(*input.path);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      if (outputIds[i] == id) {
        throw UsageError(std::string("the ") + outputs[i].what + " would replace the " +
                         input.what + " " + Quoted(*input.path) + messages::kReplacesInputText);
      }
    }
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (std::size_t j = i + 1; j < outputs.size(); ++j) {
      if (outputIds[i] == outputIds[j]) {
        throw UsageError(std::string("the ") + outputs[i].what + " and the " + outputs[j].what +
                         " name the same file, " + Quoted(*outputs[j].path) +
                         messages::kSameFileText);
      }
    }
  }
}

OutputRequest Outputs(const RunChoices& choices, FileSystem& files) {
  OutputRequest request;
  if (choices.Hec1) {
    // HEC-1 reads its input deck record by record, one a line: the station name (the deck's file
    // name) must not break its KK record.
    if (Hec1StationNameBreaksRecord(choices.DeckPath))
      throw UsageError(messages::kDeckNameText);
    request.Outputs.push_back({OutputKind::Deck, choices.DeckPath});
  }
  for (const OutputEntry& entry : OutputTable()) {
    for (const RequestedOutput& output : choices.Outputs) {
      if (output.Kind == entry.Kind)
        request.Outputs.push_back(output);
    }
  }
  request.Check = choices.Check;

  std::vector<NamedFile> outputs;
  for (const RequestedOutput& output : request.Outputs) {
    if (OutputOf(output.Kind).Medium != OutputMedium::Device && !output.Path.empty())
      outputs.push_back({OutputOf(output.Kind).Name, &output.Path});
  }
  for (const RequestedOutput& other : choices.OtherOutputs)
    outputs.push_back({OutputOf(other.Kind).Name, &other.Path});
  std::vector<NamedFile> inputs;
  if (!outputs.empty()) {
    if (choices.Rainfall)
      inputs.push_back({"rainfall table", &choices.Rainfall->Path});
    if (choices.Pond)
      inputs.push_back({"pond table", &choices.Pond->Path});
    for (const NamedPath& other : choices.OtherFiles)
      inputs.push_back({other.What.c_str(), &other.Path});
  }
  if (!choices.FilesChecked)
    CheckFiles(outputs, inputs, files);
  return request;
}

}  // namespace

void CheckSavedFile(const NamedPath& saved, const RunInputs& inputs, const std::string& deckPath,
                    FileSystem& files) {
  std::vector<NamedFile> outputs;
  if (!deckPath.empty())
    outputs.push_back({"HEC-1 deck", &deckPath});
  outputs.push_back({saved.What.c_str(), &saved.Path});
  std::vector<NamedFile> read;
  if (inputs.Rainfall)
    read.push_back({"rainfall table", &inputs.Rainfall->Path});
  if (inputs.Pond)
    read.push_back({"pond table", &inputs.Pond->Path});
  CheckFiles(outputs, read, files);
}

double SixHourDepth(const TableRainfall& storm) {
  return storm.Table.Depth(kSixHours);
}

bool AsksForChartPeak(const std::string& entry) {
  const std::string word = TrimSpaces(entry);
  if (word.size() != 5)
    return false;
  for (std::size_t i = 0; i < 5; ++i) {
    if ((word[i] | 0x20) != "chart"[i])
      return false;
  }
  return true;
}

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

double ChartPeak(const RunInputs& in) {
  using namespace checked;
  const double peak =
      Mul(Mul(in.RunoffCoefficient, StormIntensity(in, in.TimeOfConcentration)), in.BasinArea);
  return RoundHalfUp(peak, 10);
}

StormChoiceProblem StormChoiceOf(bool rain, bool table, bool periods) {
  if (table && rain)
    return StormChoiceProblem::RainAndTable;
  if (periods && !table)
    return StormChoiceProblem::PeriodsWithoutTable;
  return StormChoiceProblem::None;
}

PreparedRun PrepareRun(const RunEntries& entries, const RunChoices& choices, FileSystem& files,
                       const std::function<void()>& accepted) {
  const SpacedUnitWords units(kTextUnits);
  const bool chartPeak = choices.ChartPeak || AsksForChartPeak(entries.PeakDischarge);
  const RunEntry blank = FirstBlank(entries, !choices.Rainfall, !chartPeak);
  if (blank != RunEntry::None)
    throw Refused(messages::kIncompleteTitle, messages::kIncompleteText, blank);
  if (accepted)
    accepted();

  PreparedRun prepared;
  RunInputs& in = prepared.Inputs;
  // A time of concentration that holds no number reads as 0 and gets the warning of a short one.
  const std::string tcText = TrimSpaces(entries.TimeOfConcentration);
  if (LeadingNumber(tcText) && tcText.find(',') == std::string::npos)
    CheckUnit(kTc, tcText, kMinutes);
  in.TimeOfConcentration = RoundedHalfUp(Val(tcText), 1, WholeAtScale::Computed);
  if (in.TimeOfConcentration < 5)
    throw Refused(messages::kTcTitle, messages::kTcText, RunEntry::TimeOfConcentration);
  // The rational method assumes the rain lasts at least Tc.
  if (in.TimeOfConcentration > kSixHours)
    throw Refused(messages::kTcTitle, messages::kTcLongText, RunEntry::TimeOfConcentration);
  if (entries.TimeOfConcentration.find(',') != std::string::npos)
    RefuseEntry(kTc, messages::kCommaText);

  if (choices.Rainfall) {
    if (auto problem = CoverageProblem(choices.Rainfall->Table, choices.Rainfall->File,
                                       in.TimeOfConcentration))
      throw Refused(messages::kRainfallTableTitle, *problem, RunEntry::RainfallTable);
    in.Rainfall = choices.Rainfall;
    in.SixHourRainfall = SixHourDepth(*choices.Rainfall);
  } else {
    in.SixHourRainfall = EntryValue(kRain, entries.SixHourRainfall, kInches);
  }
  in.BasinArea = EntryValue(kArea, entries.BasinArea, kAcres);
  in.RunoffCoefficient = EntryValue(kCoef, entries.RunoffCoefficient, kNoUnit);
  if (in.RunoffCoefficient > 1)
    RefuseEntry(kCoef, messages::kAboveOneText);
  in.PeakDischarge = chartPeak ? ChartPeak(in) : EntryValue(kPeak, entries.PeakDischarge, kCfs);
  in.ZeroTail = choices.Hec1 ? kZeroTailHec1 : kZeroTail;
  CheckPeak(in);

  if (choices.Pond) {
    const long step = choices.RouteStepMinutes;
    if (!RouteStepFits(in.TimeOfConcentration, step)) {
      throw UsageError(std::string(messages::kRouteStepText) + " (" + std::to_string(step) +
                       units.Minutes + " against a Tc of " + PlainNumber(in.TimeOfConcentration) +
                       units.Minutes + ")");
    }
    in.Pond = choices.Pond;
    in.RouteStepMinutes = step;
  }
  prepared.Request = Outputs(choices, files);
  return prepared;
}

}  // namespace rh
