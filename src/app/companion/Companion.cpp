#include "app/companion/Companion.h"

#include <optional>
#include <ostream>
#include <string>

#include "app/companion/Batch.h"
#include "app/companion/StudyCompanion.h"
#include "app/run/PreparedRun.h"
#include "app/run/RunBasin.h"
#include "app/run/StudyPdf.h"
#include "app/run/StudyRuns.h"
#include "app/tables/PondFile.h"
#include "app/tables/RainfallTable.h"
#include "app/tables/TableText.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "output/Hec1Deck.h"
#include "output/HydrographTable.h"
#include "output/Plot.h"
#include "output/ResultsListing.h"
#include "output/VolumeCheck.h"
#include "platform/ModuleDevices.h"

namespace rh {

namespace {

const std::string kPrefix = std::string(kCompanionName) + ": ";

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  if (text.size() < end.size())
    return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    const char c = text[text.size() - end.size() + i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != end[i])
      return false;
  }
  return true;
}

// What the options ask for can be done: the options of one kind of run only, each output's name of
// the right kind. UsageError says what to change.
void CheckOptions(const CompanionOptions& o) {
  const RunEntries& e = o.Entries;
  if (o.StudyFile) {
    CheckStudyFileOptions(o);
    return;
  }
  if (o.Wants(OutputKind::Summary))
    throw UsageError(messages::kSummaryOptionText);
  if (o.EmbedTables && !o.SaveStudy)
    throw UsageError(messages::kEmbedOptionText);
  if (o.Batch) {
    if (!e.TimeOfConcentration.empty() || !e.SixHourRainfall.empty() || !e.BasinArea.empty() ||
        !e.RunoffCoefficient.empty() || !e.PeakDischarge.empty() || !o.Outputs.empty() || o.Check ||
        o.Rainfall || !o.ReturnPeriods.empty() || o.Pond || o.SaveStudy)
      throw UsageError(messages::kBatchOnlyTableText);
    if (o.OutDir.empty())
      throw UsageError(messages::kBatchNeedsOutText);
    if (!o.DeckPath.empty())
      throw UsageError(messages::kBatchDeckPathText);
    return;
  }
  if (!o.OutDir.empty() || o.SummaryOnly)
    throw UsageError(messages::kOutWithoutBatchText);
  if (o.Hec1 && o.DeckPath.empty())
    throw UsageError(messages::kHec1NeedsPathText);
  if (o.Wants(OutputKind::Csv) && o.Check)
    throw UsageError(messages::kCsvAndCheckText);
  const std::string* plot = o.PathOf(OutputKind::Plot);
  if (plot && !PlotFormatOf(*plot))
    throw UsageError(messages::kPlotOptionNameText);
  const std::string* report = o.PathOf(OutputKind::Report);
  if (report && !EndsWithNoCase(*report, ".pdf"))
    throw UsageError(messages::kReportNameText);
  const std::string* study = o.PathOf(OutputKind::Study);
  if (study && !EndsWithNoCase(*study, ".pdf"))
    throw UsageError(messages::kStudyNameText);
  if (!study && !o.SaveStudy &&
      !(o.Project.empty() && o.Basin.empty() && o.Engineer.empty() && o.Notes.empty()))
    throw UsageError(messages::kStudyDetailsText);
  bool needsDevices = plot && PlotFormatOf(*plot) == PlotFormat::Png;
  bool onePeriod = o.Hec1;
  bool needsPond = false;
  for (const RequestedOutput& output : o.Outputs) {
    const OutputEntry& entry = OutputOf(output.Kind);
    needsDevices = needsDevices || entry.OnDevices;
    onePeriod = onePeriod || entry.OnePeriod;
    needsPond = needsPond || entry.NeedsPond;
  }
  // A build without the devices module (the Windows companion) refuses what needs them up front,
  // before any of the run's files is written.
  if (!DevicesOffered() && needsDevices)
    throw UsageError(messages::kDevicesNotOfferedText);
  switch (
      StormChoiceOf(!e.SixHourRainfall.empty(), o.Rainfall.has_value(), !o.ReturnPeriods.empty())) {
    case StormChoiceProblem::RainAndTable:
      throw UsageError(messages::kRainAndTableText);
    case StormChoiceProblem::PeriodsWithoutTable:
      throw UsageError(messages::kAriWithoutTableText);
    case StormChoiceProblem::None:
      break;
  }
  for (std::size_t i = 0; i < o.ReturnPeriods.size(); ++i) {
    const std::optional<double> years = ParseReturnPeriod(o.ReturnPeriods[i]);
    if (!years)
      throw UsageError(messages::kAriValueText);
    // The same storm twice would give the same run twice, and a list without end.
    for (std::size_t j = 0; j < i; ++j) {
      if (ParseReturnPeriod(o.ReturnPeriods[j]) == years)
        throw UsageError(messages::kAriTwiceText + ShownText(o.ReturnPeriods[i]) +
                         messages::kAriTwiceAdvice);
    }
  }
  if (o.ReturnPeriods.size() > 1 && onePeriod)
    throw UsageError(messages::kOneReturnPeriodText);
  if ((needsPond || o.RouteStepMinutes != 1) && !o.Pond)
    throw UsageError(messages::kPondOptionsText);
  if (o.Wants(OutputKind::PondRating) && !o.Pond)
    throw UsageError(messages::kPondRatingOptionText);
  if (o.Wants(OutputKind::Swmm) && !o.Pond)
    throw UsageError(messages::kSwmmOptionText);
  const std::pair<const char*, const std::string*> needed[] = {{"--tc", &e.TimeOfConcentration},
                                                               {"--rain", &e.SixHourRainfall},
                                                               {"--area", &e.BasinArea},
                                                               {"--coef", &e.RunoffCoefficient},
                                                               {"--peak", &e.PeakDischarge}};
  for (const auto& [name, entry] : needed) {
    if (entry->empty() && !(o.Rainfall && entry == &e.SixHourRainfall))
      throw UsageError(messages::kMissingOptionText + std::string(name));
  }
}

// The title a failed output is reported under.
std::string FailureText(const OutputFailure& failure) {
  if (failure.Which) {
    if (const char* title = OutputOf(*failure.Which).FailureTitle)
      return std::string(title) + ": " + failure.Message;
  }
  return failure.Message;
}

// What every run of the basin is asked for: the storm of return period `ari` ("" for none typed)
// from the rainfall tables when there are any, the pond, the deck and the outputs. With several
// return periods the runs write no files of their own: the companion writes their chart and study
// once, for all of them.
RunChoices Choices(const CompanionOptions& options, const std::optional<RainfallTables>& tables,
                   const std::string& ari, const std::shared_ptr<const TablePond>& pond,
                   bool severalRuns) {
  RunChoices choices;
  if (tables)
    choices.Rainfall = RainfallOf(*tables, *options.Rainfall, ari, TypedReturnPeriod(ari));
  choices.Pond = pond;
  choices.RouteStepMinutes = options.RouteStepMinutes;
  choices.Hec1 = options.Hec1;
  choices.DeckPath = options.DeckPath;
  choices.Check = options.Check || options.Wants(OutputKind::Study);
  if (options.SaveStudy)
    choices.OtherFiles.push_back({"study file", *options.SaveStudy});
  for (const OutputEntry& entry : OutputTable()) {
    const RequestedOutput* output = FindOutput(options.Outputs, entry.Kind);
    if (output == nullptr || entry.OnStandardOutput)
      continue;
    // The study, and with several runs the chart, are made of all the runs and written beside
    // them.
    const bool ofAllRuns =
        (entry.Render == nullptr && entry.Send == nullptr) || (severalRuns && !entry.OnePeriod);
    (ofAllRuns ? choices.OtherOutputs : choices.Outputs).push_back(*output);
  }
  return choices;
}

// The text a run puts on standard output: its listing (or CSV table) and its check.
void AppendRunText(const BasinRun& basin, const CompanionOptions& options, std::string& text) {
  if (options.Wants(OutputKind::Csv)) {
    text += HydrographCsv(basin.Run);
    return;
  }
  text += ListingText(basin.Run);
  if (basin.Check && options.Check) {
    for (const std::string& line : CheckLines(*basin.Check))
      text.append(line).append("\n");
  }
}

// The files written beside the runs: their chart when there are several, the study, and the
// pond's rating.
std::vector<std::pair<std::string, std::string>> DocumentFiles(const CompanionOptions& options,
                                                               const std::vector<BasinRun>& runs,
                                                               const CompanionServices& services) {
  std::vector<std::pair<std::string, std::string>> files;
  const std::string* plot = options.PathOf(OutputKind::Plot);
  if (plot && runs.size() > 1) {
    std::vector<const Run*> each;
    each.reserve(runs.size());
    for (const BasinRun& basin : runs)
      each.push_back(&basin.Run);
    files.emplace_back(*plot, PlotFileBytes(each, *plot, &services.devices));
  }
  if (const std::string* study = options.PathOf(OutputKind::Study)) {
    std::vector<StudyRun> studyRuns;
    studyRuns.reserve(runs.size());
    for (const BasinRun& basin : runs)
      studyRuns.push_back({basin.Run, *basin.Check});
    const Study document = MakeStudy(
        {options.Project, options.Basin, options.Engineer, options.Notes, ""},
        services.clock.ShortDate(), options.Entries, StudyChoices{}, std::move(studyRuns));
    files.emplace_back(*study, StudyPdfBytes(document, services.clock));
  }
  // The rating is the same for every storm: one file from the first run.
  const std::string* rating = options.PathOf(OutputKind::PondRating);
  if (rating && runs.size() > 1) {
    const OutputSource source{runs.front().Run, *rating, "", "", &services.devices};
    files.emplace_back(*rating, OutputOf(OutputKind::PondRating).Render(source));
  }
  return files;
}

// One basin, once or for each return period asked for, each listing headed by its return period
// when there are several. Every run is prepared and computed before any file is written.
int RunSingle(const CompanionOptions& options, const CompanionServices& services, std::ostream& out,
              std::ostream& err) {
  const std::vector<std::string> periods =
      options.ReturnPeriods.empty() ? std::vector<std::string>{""} : options.ReturnPeriods;
  std::shared_ptr<const TablePond> pond;
  if (options.Pond) {
    pond = tables::ReadOrRefuse(messages::kPondTableTitle, RunEntry::PondTable, [&] {
      return LoadPond(services.files, *options.Pond, *options.Pond);
    });
  }
  std::optional<RainfallTables> tables;
  if (options.Rainfall) {
    tables = tables::ReadOrRefuse(messages::kRainfallTableTitle, RunEntry::RainfallTable, [&] {
      return LoadRainfallTables(services.files, *options.Rainfall, *options.Rainfall);
    });
  }
  // With several return periods the runs write no files of their own, so only one run's request
  // is kept.
  std::vector<BasinRun> runs(periods.size());
  OutputRequest request;
  for (std::size_t i = 0; i < periods.size(); ++i) {
    const RunChoices choices = Choices(options, tables, periods[i], pond, periods.size() > 1);
    const PreparedRun prepared = PrepareRun(options.Entries, choices, services.files);
    ComputeBasin(prepared.Inputs, prepared.Request, runs[i]);
    if (periods.size() == 1)
      request = prepared.Request;
  }

  // The runs' own files (one run's), and the chart and study of them all, written together.
  const RunServices runServices{services.files, services.clock, &services.devices};
  std::vector<std::pair<std::string, std::string>> documents;
  try {
    documents = DocumentFiles(options, runs, services);
  } catch (const Fault& fault) {
    err << kPrefix << fault.what() << '\n';
    return kExitFault;
  }
  if (options.SaveStudy)
    documents.emplace_back(*options.SaveStudy,
                           SavedStudyText(options, runs.front().Run, services.files));
  std::vector<FileText> more;
  more.reserve(documents.size());
  for (const auto& [path, bytes] : documents)
    more.push_back({path, bytes});
  WriteOutputs(request, runServices, runs.front(), more);
  if (runs.front().Failure) {
    err << kPrefix << FailureText(*runs.front().Failure) << '\n';
    return kExitFault;
  }

  std::string text;
  for (const BasinRun& basin : runs) {
    if (runs.size() > 1) {
      if (!text.empty())
        text += "\n";
      text += "RETURN PERIOD ";
      AppendStrForm(text, ParseReturnPeriod(basin.Run.Inputs.Rainfall->Ari).value_or(0));
      text += " YEARS\n";
    }
    AppendRunText(basin, options, text);
  }
  out << text;
  return kExitOk;
}

int RunBatchOf(const CompanionOptions& companion, const CompanionServices& services,
               std::ostream& out, std::ostream& err) {
  BatchOptions options;
  options.Table = *companion.Batch;
  options.OutDir = companion.OutDir;
  options.Hec1 = companion.Hec1;
  options.SummaryOnly = companion.SummaryOnly;
  options.RouteStepMinutes = companion.RouteStepMinutes;
  options.Workers = companion.Workers;
  const auto onRow = [&](const BatchRow& row) {
    if (row.Status != RowStatus::Ok)
      err << kPrefix << RowProblem(row) << '\n';
  };
  const BatchTally tally =
      RunBatchFiles(options, RunServices{services.batchFiles, services.clock, nullptr}, onRow);
  if (!tally.TableProblem.empty()) {
    err << kPrefix << options.Table << ", " << tally.TableProblem << '\n';
    return kExitSomeRowsFailed;
  }
  out << tally.Rows << " basins: " << tally.Rows - tally.Failed << " done, " << tally.Failed
      << " failed; summary in " << BatchPath(options, "summary.csv") << '\n';
  return tally.Failed == 0 ? kExitOk : kExitSomeRowsFailed;
}

}  // namespace

int RunCompanion(const CompanionOptions& options, const CompanionServices& services,
                 std::ostream& out, std::ostream& err) {
  CheckOptions(options);
  try {
    if (options.Batch)
      return RunBatchOf(options, services, out, err);
    if (options.StudyFile)
      return RunStudyFile(options, services, out);
    return RunSingle(options, services, out, err);
  } catch (const std::exception& fault) {
    const FaultReport report = ReportFault(fault);
    // A usage error reaches the caller, which answers it with the usage.
    if (report.Kind == FaultKind::Usage)
      throw;
    err << (report.Kind == FaultKind::Refused ? "" : kPrefix) << report.Line() << '\n';
    return report.ExitStatus;
  }
}

}  // namespace rh
