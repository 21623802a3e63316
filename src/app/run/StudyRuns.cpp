#include "app/run/StudyRuns.h"

#include <cmath>
#include <utility>

#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "output/Hec1Deck.h"
#include "output/PondReport.h"

namespace rh {

namespace {

// The run's choices for picked storm number `picked`.
RunChoices ChoicesFor(const StudyChoices& study, std::size_t picked) {
  RunChoices choices;
  if (!study.Storms.empty())
    choices.Rainfall = study.Storms.at(study.Picked.at(picked));
  choices.ChartPeak = study.ChartPeak;
  choices.Pond = study.Pond;
  choices.RouteStepMinutes = study.RouteStepMinutes;
  choices.Check = true;
  return choices;
}

bool SameReturnPeriod(const std::string& a, const std::string& b) {
  const auto years = ParseReturnPeriod(a);
  return a == b || (years && years == ParseReturnPeriod(b));
}

}  // namespace

std::vector<std::shared_ptr<const TableRainfall>> TableStorms(FileSystem& files,
                                                              const std::string& path,
                                                              const std::string& name) {
  const RainfallTables tables = LoadRainfallTables(files, path, name);
  std::vector<std::shared_ptr<const TableRainfall>> storms;
  if (tables.ReturnPeriods().empty())
    storms.push_back(RainfallOf(tables, path, "", std::nullopt));
  for (const double years : tables.ReturnPeriods())
    storms.push_back(RainfallOf(tables, path, PlainNumber(years), years));
  return storms;
}

StudyChoices StudyChoicesOf(const RunChoices& run, FileSystem& files) {
  StudyChoices study;
  study.ChartPeak = run.ChartPeak;
  study.Pond = run.Pond;
  study.RouteStepMinutes = run.RouteStepMinutes;
  if (!run.Rainfall)
    return study;
  try {
    study.Storms = TableStorms(files, run.Rainfall->Path, run.Rainfall->File);
  } catch (const Refused&) {
  } catch (const FileFault&) {
  }
  for (std::size_t i = 0; i < study.Storms.size(); ++i) {
    if (SameReturnPeriod(study.Storms[i]->Ari, run.Rainfall->Ari)) {
      study.Storms[i] = run.Rainfall;
      study.Picked = {i};
      return study;
    }
  }
  study.Storms = {run.Rainfall};
  study.Picked = {0};
  return study;
}

std::vector<std::size_t> CarriedPicks(
    const StudyChoices& before, const std::vector<std::shared_ptr<const TableRainfall>>& storms) {
  std::vector<std::size_t> picked;
  for (std::size_t i = 0; i < storms.size(); ++i) {
    for (const std::size_t was : before.Picked) {
      if (!storms[i]->Ari.empty() && SameReturnPeriod(storms[i]->Ari, before.Storms[was]->Ari))
        picked.push_back(i);
    }
  }
  if (picked.empty())
    picked = {0};
  return picked;
}

std::vector<StudyRun> RunStudy(const RunEntries& entries, const StudyChoices& choices,
                               FileSystem& files) {
  const std::size_t count = choices.Storms.empty() ? 1 : choices.Picked.size();
  std::vector<StudyRun> runs;
  runs.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const PreparedRun prepared = PrepareRun(entries, ChoicesFor(choices, i), files);
    BasinRun basin;
    ComputeBasin(prepared.Inputs, prepared.Request, basin);
    runs.push_back(StudyRun{std::move(basin.Run), std::move(*basin.Check)});
  }
  return runs;
}

BasinRun SaveStudyDeck(const RunEntries& entries, const StudyChoices& choices, std::size_t picked,
                       const std::string& deckPath, const RunServices& services) {
  RunChoices run = ChoicesFor(choices, picked);
  run.Check = false;
  run.Hec1 = true;
  run.DeckPath = deckPath;
  const PreparedRun prepared = PrepareRun(entries, run, services.files);
  return RunBasin(prepared.Inputs, prepared.Request, services);
}

std::string StudyDeckText(const RunEntries& entries, const StudyChoices& choices,
                          std::size_t picked, const std::string& deckPath, FileSystem& files,
                          const std::string& date) {
  RunChoices run = ChoicesFor(choices, picked);
  run.Check = false;
  run.Hec1 = true;
  run.DeckPath = deckPath;
  const PreparedRun prepared = PrepareRun(entries, run, files);
  BasinRun basin;
  ComputeBasin(prepared.Inputs, prepared.Request, basin);
  return Hec1DeckText(basin.Run, deckPath, date);
}

Study MakeStudy(const ProjectDetails& project, const std::string& date, const RunEntries& entries,
                const StudyChoices& choices, std::vector<StudyRun> runs) {
  Study study;
  study.Project = project;
  study.Date = date;
  study.PeakFromChart = choices.ChartPeak || AsksForChartPeak(entries.PeakDischarge);
  study.Runs = std::move(runs);
  return study;
}

StudySummary SummaryOf(const std::vector<StudyRun>& runs) {
  StudySummary summary;
  summary.Heads = {"Storm", "P6 (in)", "Peak (cfs)", "Time to peak (min)", "Volume (ac-ft)"};
  bool routed = false;
  for (const StudyRun& r : runs)
    routed = routed || r.Run.Routing != nullptr;
  if (routed) {
    for (const char* head : {"Peak outflow (cfs)", "Outflow peak at (min)",
                             "Maximum storage (ac-ft)", "Maximum stage (ft)", "Drawdown"})
      summary.Heads.emplace_back(head);
  }
  for (const StudyRun& r : runs) {
    const RunResult& result = r.Run.Result;
    std::vector<std::string> row = {
        StormName(r.Run), PlainNumber(r.Run.Inputs.SixHourRainfall),
        PlainNumber(result.Hydrograph(result.PeakIndex)),
        PlainNumber(r.Run.Inputs.TimeOfConcentration * result.PeakIndex),
        Decimals(r.Check.HydrographAcreFeet, 3)};
    if (const PondRouting* p = r.Run.Routing.get()) {
      row.push_back(Decimals(p->PeakOutflowCfs, 1));
      row.push_back(PlainNumber(p->PeakOutflowMinutes));
      row.push_back(Decimals(p->MaxStorageAcreFeet, 3));
      row.push_back(Decimals(p->MaxStageFeet, 2));
      row.push_back(DrawdownText(*p) + (p->Overtopped ? ", OVERTOPPED" : ""));
    }
    summary.Rows.push_back(std::move(row));
    std::string check = CheckWords(r.Check);
    if (r.Check.PondWarning)
      check += "; the pond's inflow differs from its outflow and storage left by more than 0.1 %";
    summary.Checks.push_back((runs.size() > 1 ? StormName(r.Run) : std::string("Check")) + ": " +
                             check + ".");
  }
  return summary;
}

}  // namespace rh
