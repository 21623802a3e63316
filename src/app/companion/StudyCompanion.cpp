#include "app/companion/StudyCompanion.h"

#include <algorithm>
#include <ostream>
#include <utility>
#include <vector>

#include "app/run/StudyCheck.h"
#include "app/run/StudyPdf.h"
#include "app/tables/PondJson.h"
#include "app/tables/RainfallTable.h"
#include "app/tables/StudyFile.h"
#include "core/Faults.h"
#include "core/ShownText.h"
#include "output/PondRating.h"
#include "output/PondReport.h"
#include "platform/ModuleDevices.h"
#include "platform/Paths.h"

namespace rh {

namespace {

struct Written {
  const char* what;
  std::string path;
  std::string text;
};

// No two outputs on one file, none on a file the study reads (the study file itself may be saved
// over: that is its save).
void CheckClashes(const std::vector<Written>& outputs, const std::vector<NamedPath>& inputs,
                  const std::string& studyPath, FileSystem& files) {
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const std::string id = files.FileIdentity(outputs[i].path);
    for (const NamedPath& input : inputs) {
      const bool save = std::string(outputs[i].what) == "study file" && input.Path == studyPath;
      if (!save && files.FileIdentity(input.Path) == id)
        throw UsageError(std::string("the ") + outputs[i].what + " would replace the " +
                         input.What + " " + Quoted(input.Path) + messages::kReplacesInputText);
    }
    for (std::size_t j = i + 1; j < outputs.size(); ++j) {
      if (files.FileIdentity(outputs[j].path) == id)
        throw UsageError(std::string("the ") + outputs[i].what + " and the " + outputs[j].what +
                         " name the same file, " + Quoted(outputs[j].path) +
                         messages::kSameFileText);
    }
  }
}

}  // namespace

void CheckStudyFileOptions(const CompanionOptions& o) {
  const RunEntries& e = o.Entries;
  const bool entries = !e.TimeOfConcentration.empty() || !e.SixHourRainfall.empty() ||
                       !e.BasinArea.empty() || !e.RunoffCoefficient.empty() ||
                       !e.PeakDischarge.empty();
  bool others = entries || o.Batch || o.Rainfall || !o.ReturnPeriods.empty() || o.Pond ||
                o.RouteStepMinutes != 1 || o.Check || o.Hec1 || !o.Project.empty() ||
                !o.Basin.empty() || !o.Engineer.empty() || !o.Notes.empty() || !o.OutDir.empty() ||
                o.SummaryOnly;
  for (const RequestedOutput& output : o.Outputs) {
    others =
        others || !(output.Kind == OutputKind::Study || output.Kind == OutputKind::Summary ||
                    output.Kind == OutputKind::PondCsv || output.Kind == OutputKind::PondRating);
  }
  if (others)
    throw UsageError(messages::kStudyFileOnlyText);
  if (o.EmbedTables && !o.SaveStudy)
    throw UsageError(messages::kEmbedOptionText);
  const std::string* study = o.PathOf(OutputKind::Study);
  if (study && !(study->size() >= 4 && (study->substr(study->size() - 4) == ".pdf" ||
                                        study->substr(study->size() - 4) == ".PDF")))
    throw UsageError(messages::kStudyNameText);
}

int RunStudyFile(const CompanionOptions& options, const CompanionServices& services,
                 std::ostream& out) {
  const std::string& path = *options.StudyFile;
  FileSystem& files = services.files;
  const StudyFile study = LoadStudyFile(files, path);
  const StudyCheck check = CheckStudy(study, path, files);

  std::vector<Written> outputs;
  if (const std::string* summary = options.PathOf(OutputKind::Summary))
    outputs.push_back({"summary", *summary, StudySummaryCsv(check)});
  const bool wantsPondFile =
      options.Wants(OutputKind::PondCsv) || options.Wants(OutputKind::PondRating);
  if (wantsPondFile && !check.Pond)
    throw UsageError(messages::kStudyPondOutputText);
  if (const std::string* pondCsv = options.PathOf(OutputKind::PondCsv)) {
    if (check.ProposedRuns.size() > 1)
      throw UsageError(messages::kStudyOnePeriodText);
    outputs.push_back({"pond table", *pondCsv, PondCsv(check.ProposedRuns.front().Run)});
  }
  if (const std::string* rating = options.PathOf(OutputKind::PondRating))
    outputs.push_back({"pond rating", *rating, PondRatingCsv(*check.Pond)});
  if (const std::string* pdf = options.PathOf(OutputKind::Study)) {
    outputs.push_back(
        {"study", *pdf,
         StudyPdfBytes(StudyOfCheck(study, check, services.clock.ShortDate()), services.clock)});
  }
  if (study.Hec1) {
    // One deck per storm of the proposed basin, beside the study file.
    const StudyInputs in = StudyInputsOf(study, path, files);
    const std::size_t storms = std::max<std::size_t>(in.Proposed.Picked.size(), 1);
    for (std::size_t i = 0; i < storms; ++i) {
      const std::string years = in.Proposed.Storms.empty()
                                    ? std::string()
                                    : in.Proposed.Storms[in.Proposed.Picked[i]]->Ari;
      const std::string deck = StudyDeckPath(path, years);
      outputs.push_back({"HEC-1 deck", deck,
                         StudyDeckText(in.ProposedEntries, in.Proposed, i, deck, files,
                                       services.clock.ShortDate())});
    }
  }
  if (options.SaveStudy)
    outputs.push_back(
        {"study file", *options.SaveStudy,
         StudyFileText(MovedStudy(study, path, *options.SaveStudy, options.EmbedTables, files))});

  CheckClashes(outputs, StudyInputFiles(study, path), path, files);
  std::vector<FileText> texts;
  texts.reserve(outputs.size());
  for (const Written& w : outputs)
    texts.push_back({w.path, w.text});
  if (!texts.empty())
    files.ReplaceAll(texts);
  out << CriteriaTable(check, path);
  return check.Passes() ? kExitOk : kExitCriteriaFailed;
}

std::string SavedStudyText(const CompanionOptions& options, const Run& run, FileSystem& files) {
  const std::string& to = *options.SaveStudy;
  const RunInputs& in = run.Inputs;
  StudyFile study;
  study.ProjectName = options.Project;
  study.Engineer = options.Engineer;
  study.Notes = options.Notes;
  if (options.Rainfall) {
    study.Rainfall =
        StudyTableAt(*options.Rainfall, *options.Rainfall, to, options.EmbedTables, false, files);
    for (const std::string& typed : options.ReturnPeriods)
      study.ReturnPeriods.push_back(*ParseReturnPeriod(typed));
  } else {
    study.P6Inches = in.SixHourRainfall;
  }
  StudyBasin basin;
  basin.Name = options.Basin;
  basin.TcMinutes = in.TimeOfConcentration;
  basin.AreaAcres = in.BasinArea;
  basin.C = in.RunoffCoefficient;
  if (!AsksForChartPeak(options.Entries.PeakDischarge)) {
    if (!study.SingleStorm() && !(options.Rainfall && study.ReturnPeriods.empty()))
      throw UsageError(messages::kSavePeakText);
    basin.PeakCfs = in.PeakDischarge;
  }
  study.Basins.push_back(std::move(basin));
  if (options.Pond)
    study.Pond = StudyTableAt(*options.Pond, *options.Pond, to, options.EmbedTables, true, files);
  study.RouteStepMinutes = options.RouteStepMinutes;
  study.Hec1 = options.Hec1;
  return StudyFileText(study);
}

}  // namespace rh
