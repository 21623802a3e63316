// The study document of a basin: its run, or its runs for several return periods of one rainfall
// table, with the check of each and the pond routing when there is one, laid out as printed pages
// a drainage study can attach.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Hydrograph.h"
#include "output/Plot.h"
#include "output/VolumeCheck.h"
#include "platform/Drawing.h"
#include "platform/PageSize.h"

namespace rh {

// What the study is for, as the engineer writes it.
struct ProjectDetails {
  std::string ProjectName;
  std::string BasinName;
  std::string Engineer;
  std::string Notes;    // free text; each line break starts a new paragraph
  std::string License;  // the engineer's license number, for the signature block
};

// One run of the study: the run (with Run.Routing when it is routed through a pond) and its check.
struct StudyRun {
  rh::Run Run;
  VolumeCheck Check;
};

// The run with its check (CheckVolumes). Throws what CheckVolumes throws.
StudyRun MakeStudyRun(rh::Run run);

// What a run's storm is called: "100-year", "Rainfall table" (a table without return periods) or
// "County chart".
std::string StormName(const Run& run);

// The check in words: "volume within 2 % (ratio 0.9918); peak -30.2 % from the chart peak,
// outside 10 %", or the volume ratio outside 0.98 to 1.02, or why a figure has no comparison.
std::string CheckWords(const VolumeCheck& check);

// A study file's design check as the document and the companion show it, every figure already
// in words: the figures of each return period, each criterion's verdict with its margin, the
// result and the sizing's line.
struct DesignCheckText {
  std::string Pond;  // "example-pond.json, top 108.00 ft"; empty without a pond
  // A row a return period, under CriteriaHeads().
  std::vector<std::vector<std::string>> Rows;
  struct Verdict {
    std::string Storm;
    std::string Criterion;  // release, freeboard, drawdown, overtopping
    std::string Word;       // PASS or FAIL
    std::string Margin;     // "routed 98.4 cfs ≤ allowable 105.2 cfs"
  };
  std::vector<Verdict> Verdicts;
  std::string Result;  // "RESULT PASS: ...", "RESULT FAIL: ..." or "No criteria are set."
  std::string Sizing;  // the sizing's line; empty when the study asks for none
};

// The heads of the criteria table's columns: each a name and its unit.
const std::vector<std::pair<const char*, const char*>>& CriteriaHeads();

struct Study {
  ProjectDetails Project;
  std::string Date;  // written out in full, "December 8, 2026"
  // True when the peak discharge came from the storm, C x I(Tc) x A, rather than typed.
  bool PeakFromChart = false;
  // Runs of one basin: one, or one per return period of a rainfall table, in the order shown.
  std::vector<StudyRun> Runs;
  // The paper; none for the paper of the host's locale.
  std::optional<PageSize> Paper;
  // A study file's design check, which leads the first page; none for a run without criteria.
  std::optional<DesignCheckText> Criteria;
};

constexpr double kStudyMarginPoints = 54.0;  // 0.75 in on every side

// The study on pages of `paper`, each a drawing in points from the page's top left corner.
//
// Every page carries the header (project, basin, engineer, date) and "Page N of M". The first
// page holds the inputs, the storm, the peak discharge, a summary row per run (peak, time to
// peak, runoff volume, and the pond's figures when routed), the check of each run with its
// arithmetic and, with a pond, the pond's figures and volume balance; then the chart across the
// page width and a hydrograph table per run (with a pond: time, inflow, outflow, storage and
// stage at each ordinate), flowing onto further pages with their column heads repeated. No text
// runs past the margins: long texts wrap, and header fields too long for their place are cut
// with "...". Throws ArithmeticFault when the chart's ranges overflow.
std::vector<Drawing> StudyPages(const Study& study, PageSize paper);

// The chart of the study's runs at `width` x `height` points. `allowableCfs[i]`, where there is
// one, is the allowable release of run i's return period, drawn as a dashed line in its colour.
Drawing StudyChart(const std::vector<StudyRun>& runs, double width, double height,
                   const std::vector<std::optional<double>>& allowableCfs = {});

// Where the plot of that chart lies and what its edges stand for. Throws as the chart.
PlotArea StudyChartArea(const std::vector<StudyRun>& runs, double width, double height,
                        const std::vector<std::optional<double>>& allowableCfs = {});

}  // namespace rh
