// What the command-line companion is asked to do: one basin, or a table of basins. The command line
// fills it in; the companion's run, its batch and its outputs read it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/run/PreparedRun.h"

namespace rh {

struct CompanionOptions {
  // One basin.
  RunEntries Entries;                      // the five entries (the peak may be "chart")
  std::optional<std::string> Rainfall;     // a rainfall depth table instead of the county chart
  std::vector<std::string> ReturnPeriods;  // its return periods, years, as typed
  std::optional<std::string> Pond;         // a pond table to route the hydrograph through
  std::optional<std::string> PondCsv;      // the routed pond table as CSV
  std::optional<std::string> PondRating;   // the pond's rating as CSV
  long RouteStepMinutes = 1;               // the routing step
  bool Csv = false;                        // the hydrograph table instead of the listing
  bool Check = false;                      // the volume and peak check after the listing
  bool Hec1 = false;                       // the HEC-1 switch (a deck per basin)
  std::string DeckPath;                    // one basin's deck
  std::optional<std::string> ReportPdf;    // the printed report as a PDF file
  bool Print = false;                      // the printed report on the default printer
  std::optional<std::string> Plot;         // the chart, .svg or .png
  std::optional<std::string> Study;        // the study document, a PDF file
  std::string Project, Basin, Engineer, Notes;  // the study's details

  // A table of basins.
  std::optional<std::string> Batch;  // the basin table
  std::string OutDir;                // the folder of its files
  bool SummaryOnly = false;          // summary.csv alone
  unsigned Workers = 0;              // threads that run rows; 0: one per core
};

}  // namespace rh
