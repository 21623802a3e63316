// The companion's study files: running one (the criteria table, its summary, document and pond
// outputs) and saving the run of the command line, or the study opened, as one.
#pragma once

#include <iosfwd>
#include <string>

#include "app/companion/Companion.h"
#include "app/companion/CompanionOptions.h"
#include "engine/Hydrograph.h"

namespace rh {

// The options go with --study-file: UsageError says what to change.
void CheckStudyFileOptions(const CompanionOptions& options);

// Runs the study file of `options`, writes the outputs asked for all together and prints the
// criteria table: kExitOk when the study passes, kExitCriteriaFailed when it fails a criterion.
// Refusals and faults are thrown as the run's.
int RunStudyFile(const CompanionOptions& options, const CompanionServices& services,
                 std::ostream& out);

// The study file the command line's run `run` (its first storm) makes, to be saved at
// options.SaveStudy: its basin the proposed one, the criteria empty, the tables' paths relative
// to the study file (or held in it, with --embed-tables). UsageError for a numeric peak with
// several return periods.
std::string SavedStudyText(const CompanionOptions& options, const Run& run, FileSystem& files);

}  // namespace rh
