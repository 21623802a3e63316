#include "app/run/RunBasin.h"

#include <vector>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "engine/Pond.h"
#include "output/Hec1Deck.h"
#include "output/Plot.h"
#include "output/PondReport.h"
#include "output/PrintedReport.h"
#include "output/ResultsListing.h"
#include "platform/HostText.h"

namespace rh {

namespace {

OutputDevices& Devices(OutputDevices* devices) {
  if (devices == nullptr)
    throw PrinterFault(messages::kNoDevicesText);
  return *devices;
}

}  // namespace

std::string ReportPdfBytes(const Run& run, const std::string& deckPath, const std::string& date,
                           OutputDevices* devices) {
  const auto pdf = Devices(devices).OpenPdf();
  PrintReport(run, deckPath, *pdf, date);
  return pdf->PdfBytes();
}

std::string PictureBytes(const Drawing& drawing, const std::string& path, OutputDevices* devices) {
  const std::optional<PlotFormat> format = PlotFormatOf(path);
  if (!format)
    throw FileFault(messages::kCannotWriteText + ShownText(path) + ": " + messages::kPlotNameText,
                    path);
  return *format == PlotFormat::Svg ? DrawingSvg(drawing) : Devices(devices).PngBytes(drawing);
}

std::string PlotFileBytes(const Run& run, const std::string& path, OutputDevices* devices) {
  return PictureBytes(PlotDrawing(run), path, devices);
}

std::string PlotFileBytes(const std::vector<const Run*>& runs, const std::string& path,
                          OutputDevices* devices) {
  return PictureBytes(runs.size() == 1 ? PlotDrawing(*runs.front()) : PlotDrawing(runs), path,
                      devices);
}

BasinRun RunBasin(const RunInputs& inputs, const OutputRequest& request,
                  const RunServices& services) {
  BasinRun basin;
  RunBasin(inputs, request, services, basin);
  return basin;
}

void RunBasin(const RunInputs& inputs, const OutputRequest& request, const RunServices& services,
              BasinRun& basin) {
  ComputeBasin(inputs, request, basin);
  WriteOutputs(request, services, basin);
}

void ComputeBasin(const RunInputs& inputs, const OutputRequest& request, BasinRun& basin) {
  basin.Run.Inputs = inputs;
  ComputeHydrograph(inputs, basin.Run.Result);
  basin.Run.Routing.reset();
  if (inputs.Pond)
    basin.Run.Routing = std::make_shared<const PondRouting>(
        RoutePond(basin.Run, inputs.Pond->Table, inputs.RouteStepMinutes));
  basin.DeckPath = request.DeckPath.value_or("");
  basin.Check.reset();
  basin.Failure.reset();
  if (request.Check)
    basin.Check = CheckVolumes(basin.Run);
}

void WriteOutputs(const OutputRequest& request, const RunServices& services, BasinRun& basin,
                  const std::vector<FileText>& more) {
  const Run& run = basin.Run;

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
      files.push_back({current, &*request.ListingPath, HostText(ListingText(run))});
    }
    if (request.PdfPath) {
      current = Output::Pdf;
      files.push_back({current, &*request.PdfPath,
                       ReportPdfBytes(run, basin.DeckPath, date, services.devices)});
    }
    if (request.PlotPath) {
      current = Output::Plot;
      files.push_back(
          {current, &*request.PlotPath, PlotFileBytes(run, *request.PlotPath, services.devices)});
    }

    if (request.PondCsvPath) {
      current = Output::PondCsv;
      if (!run.Routing)
        throw FileFault(messages::kCannotWriteText + ShownText(*request.PondCsvPath) + ": " +
                            messages::kNoPondText,
                        *request.PondCsvPath);
      files.push_back({current, &*request.PondCsvPath, PondCsv(*run.Routing)});
    }

    std::vector<FileText> writes = more;
    writes.reserve(files.size() + more.size());
    for (const Pending& file : files)
      writes.push_back({*file.path, file.bytes});
    if (!writes.empty()) {
      current = files.empty() ? Output::Other : files.front().which;
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
      const auto printer = Devices(services.devices).OpenDefaultPrinter();
      PrintReport(run, basin.DeckPath, *printer, date);
    }
  } catch (const Fault& fault) {
    basin.Failure = OutputFailure{current, fault.what()};
  }
}

}  // namespace rh
