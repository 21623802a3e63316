#include "app/run/RunBasin.h"

#include <vector>

#include "core/Faults.h"
#include "core/ShownText.h"
#include "engine/Pond.h"
#include "output/Plot.h"
#include "output/PrintedReport.h"

namespace rh {

const std::string* OutputRequest::PathOf(OutputKind kind) const {
  const RequestedOutput* output = FindOutput(Outputs, kind);
  return output != nullptr ? &output->Path : nullptr;
}

std::string ReportPdfBytes(const Run& run, const std::string& deckPath, const std::string& date,
                           OutputDevices* devices) {
  const auto pdf = NeededDevices(devices).OpenPdf();
  PrintReport(run, deckPath, *pdf, date);
  return pdf->PdfBytes();
}

std::string PictureBytes(const Drawing& drawing, const std::string& path, OutputDevices* devices) {
  const std::optional<PlotFormat> format = PlotFormatOf(path);
  if (!format)
    throw FileFault(messages::kCannotWriteText + ShownText(path) + ": " + messages::kPlotNameText,
                    path);
  return *format == PlotFormat::Svg ? DrawingSvg(drawing)
                                    : NeededDevices(devices).PngBytes(drawing);
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
  const std::string* deckPath = request.PathOf(OutputKind::Deck);
  basin.DeckPath = deckPath != nullptr ? *deckPath : std::string();
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
    OutputKind which;
    const std::string* path;
    std::string bytes;
  };
  std::vector<Pending> files;
  std::optional<OutputKind> current = OutputKind::Deck;
  try {
    std::string date;
    for (const RequestedOutput& output : request.Outputs) {
      const OutputEntry& entry = OutputOf(output.Kind);
      if (entry.Dated && (entry.Render != nullptr || entry.Send != nullptr)) {
        date = services.clock.ShortDate();
        break;
      }
    }
    for (const RequestedOutput& output : request.Outputs) {
      const OutputEntry& entry = OutputOf(output.Kind);
      if (entry.Render == nullptr)
        continue;
      current = output.Kind;
      files.push_back({output.Kind, &output.Path,
                       entry.Render({run, output.Path, basin.DeckPath, date, services.devices})});
    }

    std::vector<FileText> writes = more;
    writes.reserve(files.size() + more.size());
    for (const Pending& file : files)
      writes.push_back({*file.path, file.bytes});
    if (!writes.empty()) {
      current = files.empty() ? std::nullopt : std::optional<OutputKind>(files.front().which);
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

    for (const RequestedOutput& output : request.Outputs) {
      const OutputEntry& entry = OutputOf(output.Kind);
      if (entry.Send == nullptr)
        continue;
      current = output.Kind;
      entry.Send({run, output.Path, basin.DeckPath, date, services.devices});
    }
  } catch (const Fault& fault) {
    basin.Failure = OutputFailure{current, fault.what()};
  }
}

}  // namespace rh
