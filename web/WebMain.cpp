// The browser page's way into the core. The page hands over the entries as typed, its choices and
// the files the user picked; it takes back the texts the core made (listing, table, deck, chart,
// check) or the warning that stopped the run, with the entry the warning is about. Every decision
// is the core's: this file only carries data across.
#include <emscripten/bind.h>

#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "PageFiles.h"
#include "PageStudy.h"
#include "app/run/PreparedRun.h"
#include "app/run/RunBasin.h"
#include "app/run/StudyPdf.h"
#include "app/run/StudyRuns.h"
#include "app/tables/PondFile.h"
#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "output/HydrographTable.h"
#include "output/PondReport.h"
#include "output/ResultsListing.h"
#include "output/VolumeCheck.h"
#include "platform/Clock.h"

namespace rh::web {

namespace {

// What the page sends: its fields as typed and the files picked, as bytes.
struct PageRequest {
  std::string tc, rain, area, coef, peak;  // the five entries
  bool chartPeak = false;                  // "Peak from chart"
  bool hec1 = false;                       // the HEC-1 deck wanted
  std::string deck;                        // its file name
  std::string rainfallName, rainfallText;  // the rainfall table ("" for the county chart)
  std::string ari;                         // its return period, years, as typed
  std::string pondName, pondText;          // the pond table ("" for none)
  std::string today;                       // the browser's date in its short form
  double now = 0;                          // the browser's clock, seconds since 1970 UTC
};

// What the page gets back. A refused or failed run has a warning and nothing else.
struct PageRun {
  std::string warningTitle, warningText;
  std::string warningEntry;  // the id of the page's field the warning is about; "" for none
  std::string listing, csv, deck, svg, check;
  std::string plotProblem, checkProblem;  // "TITLE: text" when that part could not be made
  std::string pondSummary, pondCsv;
  bool study = false;  // the study document is ready (StudyPdf gives its bytes)
};

// The study document of the last run or study, kept until the page has copied it.
std::string& LastStudy() {
  static std::string bytes;
  return bytes;
}

// The chart's file, for its format only: it is made in memory.
constexpr const char* kChartName = "hydrograph.svg";

const char* FieldId(RunEntry entry) {
  switch (entry) {
    case RunEntry::TimeOfConcentration:
      return "tc";
    case RunEntry::SixHourRainfall:
      return "rain";
    case RunEntry::BasinArea:
      return "area";
    case RunEntry::RunoffCoefficient:
      return "coef";
    case RunEntry::PeakDischarge:
      return "peak";
    case RunEntry::DeckPath:
      return "deck";
    case RunEntry::RainfallTable:
      return "rainfall";
    case RunEntry::ReturnPeriod:
      return "ari";
    case RunEntry::PondTable:
      return "pond";
    case RunEntry::None:
      break;
  }
  return "";
}

// The core's refusals in the page's words: what the companion asks of its options, the page asks
// of its boxes.
std::string PageWords(std::string text) {
  static const std::pair<const char*, const char*> kWords[] = {
      {"; give --ari, one of: ", "; pick a return period, one of: "},
      {"leave out --ari.", "leave the return period box empty."},
      {"--ari ", "the return period box "},
  };
  for (const auto& [core, page] : kWords) {
    for (std::size_t at = text.find(core); at != std::string::npos;
         at = text.find(core, at + std::string_view(page).size()))
      text.replace(at, std::string_view(core).size(), page);
  }
  return text;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text.append(line).append("\n");
  return text;
}

// The run of the page's request: the same prepared run, run step and renderers as the companion's.
void Run(const PageRequest& request, const RunEntries& entries, RunChoices& choices,
         PageRun& page) {
  PageFiles files;
  const double now = std::isfinite(request.now) && request.now > 0 ? std::floor(request.now) : 0;
  FixedClock clock(request.today, static_cast<std::int64_t>(now));
  if (!request.rainfallName.empty()) {
    files.Put(request.rainfallName, request.rainfallText);
    choices.Rainfall = LoadRainfall(files, request.rainfallName, request.rainfallName, request.ari);
  }
  if (!request.pondName.empty()) {
    files.Put(request.pondName, request.pondText);
    choices.Pond = LoadPond(files, request.pondName, request.pondName);
  }
  const PreparedRun prepared = PrepareRun(entries, choices, files);
  const BasinRun basin =
      RunBasin(prepared.Inputs, prepared.Request, RunServices{files, clock, nullptr});
  if (basin.Failure) {
    const bool deck = basin.Failure->Which == OutputKind::Deck;
    page.warningTitle = deck ? messages::kDeckFaultTitle : messages::kRunFaultTitle;
    page.warningText = basin.Failure->Message;
    page.warningEntry = FieldId(deck ? RunEntry::DeckPath : RunEntry::None);
    return;
  }
  page.listing = ListingText(basin.Run);
  page.csv = HydrographCsv(basin.Run);
  if (const std::string* deckPath = prepared.Request.PathOf(OutputKind::Deck))
    page.deck = files.ReadText(*deckPath);
  if (basin.Run.Routing) {
    page.pondSummary = Lines(PondLines(basin.Run));
    page.pondCsv = PondCsv(basin.Run);
  }
  // The chart and the check are shown beside the listing; either may fail on its own.
  try {
    page.svg = PlotFileBytes(basin.Run, kChartName, nullptr);
  } catch (const Fault&) {
    page.plotProblem = std::string(messages::kPlotFaultTitle) + ": " + messages::kPlotFaultText;
  }
  try {
    page.check = Lines(CheckLines(CheckVolumes(basin.Run)));
  } catch (const Fault& fault) {
    page.checkProblem = std::string(messages::kRunFaultTitle) + ": " + fault.what();
  }
  // The study document, the same one the companion's --study writes; a run whose check or chart
  // cannot be made has none.
  try {
    const Study study =
        MakeStudy({}, clock.ShortDate(), entries, StudyChoices{}, {MakeStudyRun(basin.Run)});
    LastStudy() = StudyPdfBytes(study, clock);
    page.study = true;
  } catch (const Fault&) {
    LastStudy().clear();
  }
}

// The bytes of the last run's study document, for the page to copy into its download.
emscripten::val StudyPdf() {
  const std::string& bytes = LastStudy();
  return emscripten::val(emscripten::typed_memory_view(
      bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
}

// The chart's points of the study last run, for the page to copy.
emscripten::val StudyChartPoints() {
  const std::vector<double>& points = ChartPoints();
  return emscripten::val(emscripten::typed_memory_view(points.size(), points.data()));
}

StudyPage RunStudy(const StudyRequest& request) {
  StudyPage page = RunStudyPage(request);
  page.warningText = PageWords(page.warningText);
  return page;
}

// The document of the study last run, for StudyPdf to copy.
bool StudyDocument(const std::string& today, double now) {
  return StudyDocumentPdf(today, now, LastStudy());
}

PageRun RunPage(const PageRequest& request) {
  PageRun page;
  LastStudy().clear();
  const RunEntries entries{request.deck, request.tc,   request.rain,
                           request.area, request.coef, request.peak};
  RunChoices choices;
  choices.ChartPeak = request.chartPeak;
  choices.Hec1 = request.hec1;
  choices.DeckPath = request.deck;
  try {
    Run(request, entries, choices, page);
  } catch (const std::exception& fault) {
    const FaultReport report = ReportFault(fault);
    page.warningTitle = report.Title;
    page.warningText = report.Text;
    page.warningEntry = FieldId(report.Entry);
  }
  page.warningText = PageWords(page.warningText);
  if (!page.warningTitle.empty())
    page.listing.clear();
  return page;
}

}  // namespace

EMSCRIPTEN_BINDINGS(rational_hydrograph) {
  using emscripten::value_object;
  value_object<PageRequest>("PageRequest")
      .field("tc", &PageRequest::tc)
      .field("rain", &PageRequest::rain)
      .field("area", &PageRequest::area)
      .field("coef", &PageRequest::coef)
      .field("peak", &PageRequest::peak)
      .field("chartPeak", &PageRequest::chartPeak)
      .field("hec1", &PageRequest::hec1)
      .field("deck", &PageRequest::deck)
      .field("rainfallName", &PageRequest::rainfallName)
      .field("rainfallText", &PageRequest::rainfallText)
      .field("ari", &PageRequest::ari)
      .field("pondName", &PageRequest::pondName)
      .field("pondText", &PageRequest::pondText)
      .field("today", &PageRequest::today)
      .field("now", &PageRequest::now);
  value_object<PageRun>("PageRun")
      .field("warningTitle", &PageRun::warningTitle)
      .field("warningText", &PageRun::warningText)
      .field("warningEntry", &PageRun::warningEntry)
      .field("listing", &PageRun::listing)
      .field("csv", &PageRun::csv)
      .field("deck", &PageRun::deck)
      .field("svg", &PageRun::svg)
      .field("check", &PageRun::check)
      .field("plotProblem", &PageRun::plotProblem)
      .field("checkProblem", &PageRun::checkProblem)
      .field("pondSummary", &PageRun::pondSummary)
      .field("pondCsv", &PageRun::pondCsv)
      .field("study", &PageRun::study);
  value_object<StudyRequest>("StudyRequest")
      .field("name", &StudyRequest::name)
      .field("text", &StudyRequest::text)
      .field("opened", &StudyRequest::opened)
      .field("rainfallName", &StudyRequest::rainfallName)
      .field("rainfallText", &StudyRequest::rainfallText)
      .field("pondName", &StudyRequest::pondName)
      .field("pondText", &StudyRequest::pondText)
      .field("edits", &StudyRequest::edits);
  value_object<StudyPage>("StudyPage")
      .field("warningTitle", &StudyPage::warningTitle)
      .field("warningText", &StudyPage::warningText)
      .field("warningEntry", &StudyPage::warningEntry)
      .field("needs", &StudyPage::needs)
      .field("needsName", &StudyPage::needsName)
      .field("criteria", &StudyPage::criteria)
      .field("verdict", &StudyPage::verdict)
      .field("sizing", &StudyPage::sizing)
      .field("studyText", &StudyPage::studyText)
      .field("chart", &StudyPage::chart)
      .field("periods", &StudyPage::periods);
  emscripten::function("run", &RunPage);
  emscripten::function("runStudy", &RunStudy);
  emscripten::function("studyDocument", &StudyDocument);
  emscripten::function("studyPdf", &StudyPdf);
  emscripten::function("studyChartPoints", &StudyChartPoints);
}

}  // namespace rh::web
