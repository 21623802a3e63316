#include "app/run/Outputs.h"

#include "app/run/RunBasin.h"
#include "core/Faults.h"
#include "core/ShownText.h"
#include "output/Hec1Deck.h"
#include "output/HydrographTable.h"
#include "output/PondRating.h"
#include "output/PondReport.h"
#include "output/PrintedReport.h"
#include "output/ResultsListing.h"
#include "output/SwmmInput.h"
#include "platform/HostText.h"

namespace rh {

namespace {

std::string DeckFile(const OutputSource& s) {
  return Hec1DeckText(s.run, s.path, s.date);
}

std::string ListingFile(const OutputSource& s) {
  return HostText(ListingText(s.run));
}

std::string CsvFile(const OutputSource& s) {
  return HydrographCsv(s.run);
}

std::string ReportFile(const OutputSource& s) {
  return ReportPdfBytes(s.run, s.deckPath, s.date, s.devices);
}

std::string PlotFile(const OutputSource& s) {
  return PlotFileBytes(s.run, s.path, s.devices);
}

std::string PondCsvFile(const OutputSource& s) {
  if (!s.run.Routing)
    throw FileFault(messages::kCannotWriteText + ShownText(s.path) + ": " + messages::kNoPondText,
                    s.path);
  return PondCsv(s.run);
}

std::string PondRatingFile(const OutputSource& s) {
  if (!s.run.Inputs.Pond)
    throw FileFault(messages::kCannotWriteText + ShownText(s.path) + ": " + messages::kNoPondText,
                    s.path);
  return PondRatingCsv(*s.run.Inputs.Pond);
}

std::string SwmmFile(const OutputSource& s) {
  return SwmmInputText(s.run, s.path);
}

void PrintOnDefaultPrinter(const OutputSource& s) {
  const auto printer = NeededDevices(s.devices).OpenDefaultPrinter();
  PrintReport(s.run, s.deckPath, *printer, s.date);
}

}  // namespace

const std::vector<OutputEntry>& OutputTable() {
  // clang-format off
  static const std::vector<OutputEntry> table = {
      {OutputKind::Deck, "HEC-1 deck", {"--hec1", Takes::OptionalValue, "PATH", nullptr},
       OutputMedium::Text, messages::kDeckFaultTitle,
       /*Dated=*/true, /*NeedsPond=*/false, /*OnePeriod=*/true, /*OnStandardOutput=*/false,
       DeckFile, nullptr, /*OnDevices=*/false},
      {OutputKind::Listing, "listing", {nullptr, Takes::Nothing, nullptr, nullptr},
       OutputMedium::Text, nullptr,
       /*Dated=*/false, /*NeedsPond=*/false, /*OnePeriod=*/false, /*OnStandardOutput=*/true,
       ListingFile, nullptr, /*OnDevices=*/false},
      {OutputKind::Csv, "hydrograph table", {"--csv", Takes::Nothing, nullptr,
        "print time_min,discharge_cfs rows instead of the results listing"},
       OutputMedium::Text, nullptr,
       /*Dated=*/false, /*NeedsPond=*/false, /*OnePeriod=*/true, /*OnStandardOutput=*/true,
       CsvFile, nullptr, /*OnDevices=*/false},
      {OutputKind::Report, "report", {"--report", Takes::Value, "FILE.pdf",
        "write the printed report to a PDF file"},
       OutputMedium::Pdf, messages::kPrintFaultTitle,
       /*Dated=*/true, /*NeedsPond=*/false, /*OnePeriod=*/true, /*OnStandardOutput=*/false,
       ReportFile, nullptr, /*OnDevices=*/true},
      {OutputKind::Plot, "plot", {"--plot", Takes::Value, "FILE",
        "also draw the hydrograph as FILE.svg or FILE.png"},
       OutputMedium::Picture, nullptr,
       /*Dated=*/false, /*NeedsPond=*/false, /*OnePeriod=*/false, /*OnStandardOutput=*/false,
       PlotFile, nullptr, /*OnDevices=*/false},
      {OutputKind::PondCsv, "pond table", {"--pond-csv", Takes::Value, "FILE",
        "also write the routed pond as time_min,inflow_cfs,outflow_cfs,\n"
        "storage_acft,stage_ft rows"},
       OutputMedium::Text, nullptr,
       /*Dated=*/false, /*NeedsPond=*/true, /*OnePeriod=*/true, /*OnStandardOutput=*/false,
       PondCsvFile, nullptr, /*OnDevices=*/false},
      // The pond's own rating, the same for every storm. (--pond-rating without --pond has a
      // message of its own.)
      {OutputKind::PondRating, "pond rating", {"--pond-rating", Takes::Value, "FILE",
        "also write the pond's rating: stage_ft,storage_acft,outflow_cfs and\n"
        "each outlet's flow"},
       OutputMedium::Text, nullptr,
       /*Dated=*/false, /*NeedsPond=*/false, /*OnePeriod=*/false, /*OnStandardOutput=*/false,
       PondRatingFile, nullptr, /*OnDevices=*/false},
      // The run as an EPA SWMM 5 input file, routed there as here. (--swmm without --pond has a
      // message of its own.)
      {OutputKind::Swmm, "SWMM input file", {"--swmm", Takes::Value, "FILE.inp",
        "also write the routed run as an EPA SWMM 5 input file: the hydrograph\n"
        "into a storage node with the pond's rating, an outlet and an outfall"},
       OutputMedium::Text, nullptr,
       /*Dated=*/false, /*NeedsPond=*/false, /*OnePeriod=*/true, /*OnStandardOutput=*/false,
       SwmmFile, nullptr, /*OnDevices=*/false},
      {OutputKind::Study, "study", {"--study", Takes::Value, "FILE.pdf",
        "write the study document: inputs, storm, check, chart and table"},
       OutputMedium::Pdf, nullptr,
       /*Dated=*/true, /*NeedsPond=*/false, /*OnePeriod=*/false, /*OnStandardOutput=*/false,
       nullptr, nullptr, /*OnDevices=*/false},
      // A study file's table of its return periods, made by the study from all of its runs.
      {OutputKind::Summary, "summary", {"--summary", Takes::Value, "FILE.csv",
        "with --study-file, write a row per return period: every figure and\n"
        "PASS or FAIL for each criterion"},
       OutputMedium::Text, nullptr,
       /*Dated=*/false, /*NeedsPond=*/false, /*OnePeriod=*/false, /*OnStandardOutput=*/false,
       nullptr, nullptr, /*OnDevices=*/false},
      {OutputKind::Print, "print job", {"--print", Takes::Nothing, nullptr,
        "send the printed report to the default printer"},
       OutputMedium::Device, messages::kPrintFaultTitle,
       /*Dated=*/true, /*NeedsPond=*/false, /*OnePeriod=*/true, /*OnStandardOutput=*/false,
       nullptr, PrintOnDefaultPrinter, /*OnDevices=*/true},
  };
  // clang-format on
  return table;
}

const OutputEntry& OutputOf(OutputKind kind) {
  return OutputTable().at(static_cast<std::size_t>(kind));
}

const OutputEntry* OutputWithOption(const std::string& option) {
  for (const OutputEntry& entry : OutputTable()) {
    if (entry.Option.name != nullptr && option == entry.Option.name)
      return &entry;
  }
  return nullptr;
}

const RequestedOutput* FindOutput(const std::vector<RequestedOutput>& outputs, OutputKind kind) {
  for (const RequestedOutput& output : outputs) {
    if (output.Kind == kind)
      return &output;
  }
  return nullptr;
}

OutputDevices& NeededDevices(OutputDevices* devices) {
  if (devices == nullptr)
    throw PrinterFault(messages::kNoDevicesText);
  return *devices;
}

}  // namespace rh
