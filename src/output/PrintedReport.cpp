#include "output/PrintedReport.h"

#include <exception>

#include "core/Faults.h"
#include "core/NumberForms.h"
#include "output/MakerNotice.h"
#include "output/TextForms.h"

namespace rh {

void WriteReport(const Run& run, const std::string& deckPath, PrintTarget& target,
                 const std::string& date) {
  const RunInputs& in = run.Inputs;
  const RunResult& r = run.Result;
  const double tc = in.TimeOfConcentration;
  const UnitWords& units = kListingUnits;
  using E = Ending;
  PrintStatement(target, {{"RATIONAL METHOD HYDROGRAPH PROGRAM"}});
  PrintStatement(target, {{kMakerNotice}});
  PrintStatement(target, {{" "}});
  PrintStatement(target, {{"RUN DATE   ", E::Join}, {DateItem{date}}});
  PrintStatement(target, {{"HYDROGRAPH FILE NAME ", E::Join}, {deckPath}});
  PrintStatement(
      target,
      {{"TIME OF CONCENTRATION ", E::Join}, {tc, E::Join}, {std::string(" ") + units.Minutes}});
  PrintStatement(target, {{"6 HOUR RAINFALL ", E::Join},
                          {in.SixHourRainfall, E::Join},
                          {std::string(" ") + units.Inches}});
  PrintStatement(
      target,
      {{"BASIN AREA ", E::Join}, {in.BasinArea, E::Join}, {std::string(" ") + units.Acres}});
  PrintStatement(target, {{"RUNOFF COEFFICIENT ", E::Join}, {in.RunoffCoefficient}});
  PrintStatement(
      target,
      {{"PEAK DISCHARGE ", E::Join}, {r.Discharge(1), E::Join}, {std::string(" ") + units.Cfs}});
  PrintStatement(target, {{" "}});
  // "TIME (MIN) = " and the time never reach column 28, so the discharges line up in the third
  // print zone.
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    PrintStatement(target, {{"TIME (MIN) = ", E::Join},
                            {tc * static_cast<double>(n), E::NextZone},
                            {" DISCHARGE (CFS) = ", E::Join},
                            {r.Hydrograph(n)}});
  }
}

std::string ReportText(const Run& run, const std::string& deckPath, const std::string& date,
                       char decimalPoint) {
  TextPrintTarget target(decimalPoint);
  WriteReport(run, deckPath, target, date);
  return target.Text();
}

namespace {

void AbortQuietly(Printer& printer) {
  try {
    printer.AbortDoc();
  } catch (...) {
    // The job is being given up already; the first fault is the one to report.
  }
}

}  // namespace

void PrintReport(const Run& run, const std::string& deckPath, Printer& printer,
                 const std::string& date) {
  try {
    WriteReport(run, deckPath, printer, date);
    printer.EndDoc();
  } catch (const PrinterFault&) {
    AbortQuietly(printer);
    throw;
  } catch (const std::exception& fault) {
    AbortQuietly(printer);
    throw PrinterFault(fault.what());
  }
}

}  // namespace rh
