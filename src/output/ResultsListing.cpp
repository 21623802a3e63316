#include "output/ResultsListing.h"

#include "core/NumberForms.h"
#include "output/PondReport.h"

namespace rh {

namespace {

// Appends the listing to `out`, calling `endLine` after each line: each line is built in place in
// the caller's buffer, numbers included.
template <typename EndLine>
void AppendListing(const Run& run, std::string& out, EndLine endLine) {
  const RunInputs& in = run.Inputs;
  const RunResult& r = run.Result;
  const double tc = in.TimeOfConcentration;
  const UnitWords& units = kListingUnits;
  out += "TIME OF CONCENTRATION ";
  AppendStrForm(out, tc);
  out.append(" ").append(units.Minutes);
  endLine();
  out += "6 HOUR RAINFALL ";
  AppendStrForm(out, in.SixHourRainfall);
  out.append(" ").append(units.Inches);
  endLine();
  out += "BASIN AREA ";
  AppendStrForm(out, in.BasinArea);
  out.append(" ").append(units.Acres);
  endLine();
  out += "RUNOFF COEFFICIENT ";
  AppendStrForm(out, in.RunoffCoefficient);
  endLine();
  out += "PEAK DISCHARGE ";
  AppendStrForm(out, r.Discharge(1));
  out.append(" ").append(units.Cfs);
  endLine();
  out += ' ';
  endLine();
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    out += "    TIME (MIN) = ";
    AppendStrForm(out, tc * static_cast<double>(n));
    out += "     DISCHARGE (CFS) = ";
    AppendStrForm(out, r.Hydrograph[n]);
    endLine();
  }
}

}  // namespace

std::vector<std::string> BuildResultLines(const Run& run) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(run.Result.OrdinateCount) + 7);
  std::string line;
  AppendListing(run, line, [&] {
    lines.push_back(line);
    line.clear();
  });
  for (std::string& pond : PondLines(run))
    lines.push_back(std::move(pond));
  return lines;
}

std::string ListingText(const Run& run) {
  std::string text;
  text.reserve(static_cast<std::size_t>(run.Result.OrdinateCount + 7) * 52);
  AppendListing(run, text, [&] { text += '\n'; });
  for (const std::string& pond : PondLines(run))
    text.append(pond) += '\n';
  return text;
}

}  // namespace rh
