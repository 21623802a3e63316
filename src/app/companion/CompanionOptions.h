// What the command-line companion is asked to do: one basin, or a table of basins. The command line
// fills it in; the companion's run, its batch and its outputs read it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/run/Outputs.h"
#include "app/run/PreparedRun.h"

namespace rh {

struct CompanionOptions {
  // One basin.
  RunEntries Entries;                      // the five entries (the peak may be "chart")
  std::optional<std::string> Rainfall;     // a rainfall depth table instead of the county chart
  std::vector<std::string> ReturnPeriods;  // its return periods, years, as typed
  std::optional<std::string> Pond;         // a pond table to route the hydrograph through
  long RouteStepMinutes = 1;               // the routing step
  bool Check = false;                      // the volume and peak check after the listing
  bool Hec1 = false;                       // the HEC-1 switch (a deck per basin)
  std::string DeckPath;                    // one basin's deck
  // The outputs asked for besides the listing and the deck, in the order given: each of the output
  // table's kinds at most once.
  std::vector<RequestedOutput> Outputs;
  std::string Project, Basin, Engineer, Notes;  // the study's details

  // A study file: its run with the criteria table, and a study file saved from the run.
  std::optional<std::string> StudyFile;
  std::optional<std::string> SaveStudy;
  bool EmbedTables = false;  // the saved study holds its rainfall table and .json pond

  // A table of basins.
  std::optional<std::string> Batch;  // the basin table
  std::string OutDir;                // the folder of its files
  bool SummaryOnly = false;          // summary.csv alone
  unsigned Workers = 0;              // threads that run rows; 0: one per core

  // The file of the output of `kind`; null when it is not asked for.
  const std::string* PathOf(OutputKind kind) const {
    const RequestedOutput* output = FindOutput(Outputs, kind);
    return output != nullptr ? &output->Path : nullptr;
  }
  bool Wants(OutputKind kind) const { return FindOutput(Outputs, kind) != nullptr; }
};

}  // namespace rh
