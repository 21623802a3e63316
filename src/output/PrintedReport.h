// The printed report of a run: title block, inputs and the time/discharge table.
#pragma once

#include <string>

#include "engine/Hydrograph.h"
#include "platform/PrintTarget.h"

namespace rh {

// Writes the report's print statements for `run`, dated `date`, to `target`; the document is not
// ended. Line 5 names `deckPath`, the HEC-1 deck the run made; a run without a deck passes "" and
// the line ends after its label.
void WriteReport(const Run& run, const std::string& deckPath, PrintTarget& target,
                 const std::string& date);

// Prints the report on `printer` and ends the document. A fault while printing aborts the job,
// so no partial report reaches the printer, and is raised to the caller as PrinterFault.
void PrintReport(const Run& run, const std::string& deckPath, Printer& printer,
                 const std::string& date);

// The report as text in a file target (one column per character, lines ending in CR LF) with
// `decimalPoint` as the number separator.
std::string ReportText(const Run& run, const std::string& deckPath, const std::string& date,
                       char decimalPoint = '.');

}  // namespace rh
