// The printed report of a run: title block, inputs and the time/discharge table.
#pragma once

#include <string>

#include "app/Init.h"
#include "platform/Clock.h"
#include "platform/PrintTarget.h"

namespace rh {

// Prints the run in `state` on `printer` and ends the document. A fault while printing aborts
// the job, so no partial report reaches the printer, and is raised to the caller as PrinterFault.
void PrintReport(const Init& state, Printer& printer, Clock& clock);

// Writes the report's print statements for the run in `state`, dated `date`, to `target`; the
// document is not ended. Line 5 names ReportPath only while the HEC-1 switch is on: with the
// switch off there is no deck, so the line ends after its label.
void WriteReport(const Init& state, PrintTarget& target, const std::string& date);

// The report as text in a file target (one column per character, lines ending in CR LF) with
// `decimalPoint` as the number separator.
std::string ReportText(const Init& state, const std::string& date, char decimalPoint = '.');

}  // namespace rh
