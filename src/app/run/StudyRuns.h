// The study window's runs: the entries of the run Generate made, rerun with the study's own
// storm, return periods, peak and pond, without touching the run, its report or its deck.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/run/PreparedRun.h"
#include "app/run/RunBasin.h"
#include "engine/Pond.h"
#include "engine/Rainfall.h"
#include "output/StudyDocument.h"
#include "platform/FileSystem.h"

namespace rh {

// The storms a rainfall table file offers: one per return period, in the file's order, each with
// its return period as Ari; one without a return period for a plain table. The file at `path` is
// read through `files`; `name` is how messages and outputs call it. FileFault when it cannot be
// read; RainfallRefusal, naming the file and the line, when it cannot serve.
std::vector<std::shared_ptr<const TableRainfall>> TableStorms(FileSystem& files,
                                                              const std::string& path,
                                                              const std::string& name);

// What a study asks of the run's entries.
struct StudyChoices {
  // The storms of a rainfall table (none: the county chart, from the 6-hour rainfall entry) and
  // the ones the study runs, as indices into Storms in increasing order; at least one when there
  // are storms.
  std::vector<std::shared_ptr<const TableRainfall>> Storms;
  std::vector<std::size_t> Picked;
  bool ChartPeak = false;  // the peak discharge C x I(Tc) x A from each storm, not the entry
  // The pond the hydrograph is routed through (null: none), and the routing step in minutes.
  std::shared_ptr<const TablePond> Pond;
  long RouteStepMinutes = 1;
};

// The study's first choices: the storm, peak and pond of `run`. With a table, its file is read
// again for its other return periods (the run's own storm stands for its return period); when the
// file can no longer serve, the run's storm is the only one offered.
StudyChoices StudyChoicesOf(const RunChoices& run, FileSystem& files);

// The return periods a study picks when it moves to a rainfall table offering `storms`: the
// indices, in increasing order, of the storms whose return period is one `before` picked; {0}, the
// table's first storm, when none is.
std::vector<std::size_t> CarriedPicks(
    const StudyChoices& before, const std::vector<std::shared_ptr<const TableRainfall>>& storms);

// The study's runs: `entries` prepared with each picked storm (or the county chart), the peak and
// the pond, computed and checked; no file is written. Throws what PrepareRun and ComputeBasin
// throw, for the first run that fails.
std::vector<StudyRun> RunStudy(const RunEntries& entries, const StudyChoices& choices,
                               FileSystem& files);

// Writes the HEC-1 deck of the study's run with picked storm number `picked` (0 for the county
// chart) to `deckPath`: the run prepared with the HEC-1 switch on, so the hydrograph closes with
// ten zero ordinates, and made by the run step. Throws what PrepareRun and ComputeBasin throw (a
// deck over a table the run reads is a UsageError); a deck that cannot be written comes back as
// the run's Failure.
BasinRun SaveStudyDeck(const RunEntries& entries, const StudyChoices& choices, std::size_t picked,
                       const std::string& deckPath, const RunServices& services);

// The HEC-1 deck of the study's run with picked storm number `picked`, as the deck at `deckPath`
// dated `date`: the run prepared with the HEC-1 switch on, nothing written. Throws what
// PrepareRun and ComputeBasin throw (a deck over a table the run reads is a UsageError).
std::string StudyDeckText(const RunEntries& entries, const StudyChoices& choices,
                          std::size_t picked, const std::string& deckPath, FileSystem& files,
                          const std::string& date);

// The study document of `runs`, made from `entries` with `choices`, for `project`, dated `date`.
Study MakeStudy(const ProjectDetails& project, const std::string& date, const RunEntries& entries,
                const StudyChoices& choices, std::vector<StudyRun> runs);

// The summary the study window shows: a row per run (storm, P6 in, peak cfs, time to peak min,
// runoff volume ac-ft; with a pond also the peak outflow cfs and its time min, the maximum
// storage ac-ft and stage ft, and the drain time min) and each run's check in words.
struct StudySummary {
  std::vector<std::string> Heads;
  std::vector<std::vector<std::string>> Rows;
  std::vector<std::string> Checks;
};
StudySummary SummaryOf(const std::vector<StudyRun>& runs);

}  // namespace rh
