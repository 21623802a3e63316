#include "app/run/PreparedRun.h"

#include <cmath>
#include <utility>

#include "app/tables/RainfallTable.h"
#include "app/tables/Val.h"
#include "core/Faults.h"
#include "core/ShownText.h"
#include "engine/Checked.h"
#include "output/Hec1Deck.h"
#include "output/TextForms.h"

namespace rh {

namespace {

constexpr double kSixHours = 360;  // minutes: the design storm, and its P6

bool Blank(const std::string& entry) {
  return entry.find_first_not_of(' ') == std::string::npos;
}

[[noreturn]] void RefuseEntry(const char* entry, const std::string& text) {
  throw Refused(std::string(messages::kEntryTitle) + entry, entry + text);
}

// The number an entry holds: refused when no number starts it or it holds a comma (a decimal comma
// would read as the whole part alone), and when it is negative.
double EntryValue(const char* entry, const std::string& text) {
  const std::optional<double> value = LeadingNumber(TrimSpaces(text));
  if (!value)
    RefuseEntry(entry, messages::kNoNumberText);
  if (text.find(',') != std::string::npos)
    RefuseEntry(entry, messages::kCommaText);
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

// A peak larger than the storm supports makes the block before the peak, 2 C A I(2 Tc) - Qp,
// negative: the only ordinate that can be. Not judged when the storm has no second block, nor for
// a zero area or coefficient (the computation's division fault says so).
void CheckPeak(const RunInputs& in) {
  if (in.BasinArea * in.RunoffCoefficient == 0 || StormBlockCount(in.TimeOfConcentration) < 2)
    return;
  if (BlockBeforePeak(in) >= 0)
    return;
  RefuseEntry(messages::kPeakEntry, " value must be " + PlainNumber(LargestPeak(in)) +
                                        messages::kPeakTooLargeText + PlainNumber(ChartPeak(in)) +
                                        " cfs.");
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
    request.DeckPath = choices.DeckPath;
  }
  request.ListingPath = choices.ListingPath;
  request.PdfPath = choices.PdfPath;
  request.Print = choices.Print;
  request.PlotPath = choices.PlotPath;
  request.PondCsvPath = choices.PondCsvPath;
  request.Check = choices.Check;

  std::vector<NamedFile> outputs;
  const std::pair<const char*, const std::optional<std::string>*> named[] = {
      {"HEC-1 deck", &request.DeckPath},
      {"listing", &request.ListingPath},
      {"report", &request.PdfPath},
      {"plot", &request.PlotPath},
      {"pond table", &request.PondCsvPath}};
  for (const auto& [what, path] : named) {
    if (*path && !(*path)->empty())
      outputs.push_back({what, &**path});
  }
  for (const NamedPath& other : choices.OtherOutputs)
    outputs.push_back({other.What.c_str(), &other.Path});
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

PreparedRun PrepareRun(const RunEntries& entries, const RunChoices& choices, FileSystem& files,
                       const std::function<void()>& accepted) {
  const bool chartPeak = choices.ChartPeak || AsksForChartPeak(entries.PeakDischarge);
  if (Blank(entries.TimeOfConcentration) || (!choices.Rainfall && Blank(entries.SixHourRainfall)) ||
      Blank(entries.BasinArea) || Blank(entries.RunoffCoefficient) ||
      (!chartPeak && Blank(entries.PeakDischarge)))
    throw Refused(messages::kIncompleteTitle, messages::kIncompleteText);
  if (accepted)
    accepted();

  PreparedRun prepared;
  RunInputs& in = prepared.Inputs;
  // A time of concentration that holds no number reads as 0 and gets the warning of a short one.
  in.TimeOfConcentration = std::floor(Val(TrimSpaces(entries.TimeOfConcentration)) + 0.5);
  if (in.TimeOfConcentration < 5)
    throw Refused(messages::kTcTitle, messages::kTcText);
  if (entries.TimeOfConcentration.find(',') != std::string::npos)
    RefuseEntry(messages::kTcEntry, messages::kCommaText);

  if (choices.Rainfall) {
    if (auto problem = CoverageProblem(choices.Rainfall->Table, choices.Rainfall->File,
                                       in.TimeOfConcentration))
      throw Refused(messages::kRainfallTableTitle, *problem);
    in.Rainfall = choices.Rainfall;
    in.SixHourRainfall = SixHourDepth(*choices.Rainfall);
  } else {
    in.SixHourRainfall = EntryValue(messages::kRainEntry, entries.SixHourRainfall);
  }
  in.BasinArea = EntryValue(messages::kAreaEntry, entries.BasinArea);
  in.RunoffCoefficient = EntryValue(messages::kCoefEntry, entries.RunoffCoefficient);
  if (in.RunoffCoefficient > 1)
    RefuseEntry(messages::kCoefEntry, messages::kAboveOneText);
  in.PeakDischarge =
      chartPeak ? ChartPeak(in) : EntryValue(messages::kPeakEntry, entries.PeakDischarge);
  in.ZeroTail = choices.Hec1 ? kZeroTailHec1 : kZeroTail;
  CheckPeak(in);

  if (choices.Pond) {
    const long step = choices.RouteStepMinutes;
    if (step < 1 || std::fmod(in.TimeOfConcentration, static_cast<double>(step)) != 0) {
      throw UsageError(std::string(messages::kRouteStepText) + " (" + std::to_string(step) +
                       " min against a Tc of " + PlainNumber(in.TimeOfConcentration) + " min)");
    }
    in.Pond = choices.Pond;
    in.RouteStepMinutes = step;
  }
  prepared.Request = Outputs(choices, files);
  return prepared;
}

}  // namespace rh
