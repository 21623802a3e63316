// A study file's run: the existing and proposed basins for each storm, the proposed one routed
// through the pond, each return period judged against the criteria, the storage estimate, and the
// sizing of a device or of the storage when the study asks for it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/run/StudyRuns.h"
#include "app/tables/StudyFile.h"
#include "engine/Criteria.h"
#include "platform/FileSystem.h"

namespace rh {

// One storm of the study.
struct PeriodCheck {
  std::string Storm;            // "2-year", "County chart"
  std::optional<double> Years;  // none for the county chart or a plain table
  PeriodFigures Figures;
  CriteriaLimits Limits;
  PeriodVerdicts Verdicts;
  std::optional<double> StorageEstimateAcreFeet;  // with an allowable release
};

struct SizingAnswer {
  std::optional<double> Value;  // none: no value in the range passes
  std::string Line;             // the criteria table's closing line
};

struct StudyCheck {
  std::vector<PeriodCheck> Periods;
  std::vector<StudyRun> ProposedRuns;  // routed through the pond (at the sizing's answer)
  std::vector<StudyRun> ExistingRuns;  // empty without an existing basin
  std::shared_ptr<const TablePond> Pond;
  RunEntries ProposedEntries;
  std::optional<SizingAnswer> Sizing;
  // Every return period passes (a study without criteria passes), and a sizing found its value.
  bool Passes() const;
};

// The pond, storms and entries of `study`, the study file at `studyPath` (tables it names are
// opened relative to its folder, through `files`).
struct StudyInputs {
  StudyChoices Proposed;  // with the pond
  StudyChoices Existing;  // without it
  RunEntries ProposedEntries;
  std::optional<RunEntries> ExistingEntries;
};
StudyInputs StudyInputsOf(const StudyFile& study, const std::string& studyPath, FileSystem& files);
// The files the study file at `studyPath` reads, each with what messages call it: the study file
// itself, and the rainfall and pond tables it names by path (as the program opens them). Nothing
// the study writes may replace one of them.
std::vector<NamedPath> StudyInputFiles(const StudyFile& study, const std::string& studyPath);

// The storms alone, without the pond (which is not read): what an editor of the study's entries
// checks them against.
StudyChoices StudyStormsOf(const StudyFile& study, const std::string& studyPath, FileSystem& files);

// Runs `study`: Refused (naming the study file and the key) for what the file asks that its tables
// cannot give, and what RunStudy throws.
StudyCheck CheckStudy(const StudyFile& study, const std::string& studyPath, FileSystem& files);

// The design check in words, as the criteria table and the study document show it.
DesignCheckText CriteriaOf(const StudyCheck& check);

// The criteria table: the figures of each return period, each criterion's verdict with its margin
// and the study's result, closed by the sizing line when a sizing was asked for.
std::string CriteriaTable(const StudyCheck& check, const std::string& studyName);

// The study document of `study`'s run `check`, dated `date`.
Study StudyOfCheck(const StudyFile& study, const StudyCheck& check, const std::string& date);

// The allowable release of each return period where it has one, in the order of the proposed
// runs: what the study's chart draws as dashed lines.
std::vector<std::optional<double>> AllowableReleases(const StudyCheck& check);

// The summary file: a row per return period (see docs/study.md for its columns).
std::string StudySummaryCsv(const StudyCheck& check);

// The routings of one pond design per storm, judged: what a sizing compares candidates by.
// Exposed for the benchmark and the tests.
std::vector<PeriodCheck> JudgePond(const StudyCheck& base, const PondTable& table,
                                   long routeStepMinutes);

}  // namespace rh
