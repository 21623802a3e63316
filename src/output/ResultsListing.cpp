#include "output/ResultsListing.h"

#include "output/TextForms.h"

namespace rh {

namespace {

// Calls `line` with each line of the listing in order.
template <typename Line>
void ForEachLine(const Run& run, Line line) {
  const RunInputs& in = run.Inputs;
  const RunResult& r = run.Result;
  const double tc = in.TimeOfConcentration;
  line("TIME OF CONCENTRATION " + StrForm(tc) + " MIN.");
  line("6 HOUR RAINFALL " + StrForm(in.SixHourRainfall) + " INCHES");
  line("BASIN AREA " + StrForm(in.BasinArea) + " ACRES");
  line("RUNOFF COEFFICIENT " + StrForm(in.RunoffCoefficient));
  line("PEAK DISCHARGE " + StrForm(r.Discharge(1)) + " CFS");
  line(std::string(" "));
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    std::string text = "    TIME (MIN) = ";
    text.reserve(64);
    text += StrForm(tc * static_cast<double>(n));
    text += "     DISCHARGE (CFS) = ";
    text += StrForm(r.Hydrograph(n));
    line(std::move(text));
  }
}

}  // namespace

std::vector<std::string> BuildResultLines(const Run& run) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(run.Result.OrdinateCount) + 7);
  ForEachLine(run, [&](std::string line) { lines.push_back(std::move(line)); });
  return lines;
}

std::string ListingText(const Run& run) {
  std::string text;
  text.reserve(static_cast<std::size_t>(run.Result.OrdinateCount + 7) * 48);
  ForEachLine(run, [&](const std::string& line) { text.append(line).push_back('\n'); });
  return text;
}

}  // namespace rh
