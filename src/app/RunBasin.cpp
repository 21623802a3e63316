#include "app/RunBasin.h"

#include <vector>

#include "output/Hec1Deck.h"
#include "output/Plot.h"
#include "output/PrintedReport.h"
#include "output/ResultsListing.h"
#include "platform/Faults.h"

namespace rh {

namespace {

OutputDevices& Devices(const RunServices& services) {
  if (services.devices == nullptr)
    throw PrinterFault("Reports and pictures cannot be made here.");
  return *services.devices;
}

std::string PlotBytes(const Run& run, const std::string& path, const RunServices& services) {
  const std::optional<PlotFormat> format = PlotFormatOf(path);
  if (!format)
    throw FileFault("Cannot write " + path + ": the plot file must end in .svg or .png.");
  const Drawing drawing = PlotDrawing(run);
  return *format == PlotFormat::Svg ? DrawingSvg(drawing) : Devices(services).PngBytes(drawing);
}

}  // namespace

BasinRun RunBasin(const RunInputs& inputs, const OutputRequest& request,
                  const RunServices& services) {
  BasinRun basin;
  RunBasin(inputs, request, services, basin);
  return basin;
}

void RunBasin(const RunInputs& inputs, const OutputRequest& request, const RunServices& services,
              BasinRun& basin) {
  basin.Run.Inputs = inputs;
  ComputeHydrograph(inputs, basin.Run.Result);
  basin.DeckPath = request.DeckPath.value_or("");
  basin.Check.reset();
  basin.Failure.reset();
  const Run& run = basin.Run;
  if (request.Check)
    basin.Check = CheckVolumes(run);

  // Everything is rendered before anything is written.
  struct Pending {
    Output which;
    const std::string* path;
    std::string bytes;
  };
  std::vector<Pending> files;
  Output current = Output::Deck;
  try {
    std::string date;
    if (request.DeckPath || request.PdfPath || request.Print)
      date = services.clock.ShortDate();
    if (request.DeckPath) {
      current = Output::Deck;
      files.push_back({current, &*request.DeckPath, Hec1DeckText(run, *request.DeckPath, date)});
    }
    if (request.ListingPath) {
      current = Output::Listing;
      files.push_back({current, &*request.ListingPath, ListingText(run)});
    }
    if (request.PdfPath) {
      current = Output::Pdf;
      const auto pdf = Devices(services).OpenPdf();
      PrintReport(run, basin.DeckPath, *pdf, date);
      files.push_back({current, &*request.PdfPath, pdf->PdfBytes()});
    }
    if (request.PlotPath) {
      current = Output::Plot;
      files.push_back({current, &*request.PlotPath, PlotBytes(run, *request.PlotPath, services)});
    }

    std::vector<FileText> writes;
    writes.reserve(files.size());
    for (const Pending& file : files)
      writes.push_back({*file.path, file.bytes});
    if (!writes.empty()) {
      current = files.front().which;
      try {
        services.files.ReplaceAll(writes);
      } catch (const FileFault& fault) {
        // Name the output whose file failed, when the fault says which.
        for (const Pending& file : files) {
          if (fault.Path() == *file.path)
            current = file.which;
        }
        throw;
      }
    }

    if (request.Print) {
      current = Output::Print;
      const auto printer = Devices(services).OpenDefaultPrinter();
      PrintReport(run, basin.DeckPath, *printer, date);
    }
  } catch (const Fault& fault) {
    basin.Failure = OutputFailure{current, fault.what()};
  }
}

}  // namespace rh
