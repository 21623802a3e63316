#include "output/ResultsListing.h"

#include "output/TextForms.h"

namespace rh {

std::vector<std::string> BuildResultLines(const Init& s) {
  const double tc = s.TimeOfConcentration;
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(s.OrdinateCount) + 7);
  lines.push_back("TIME OF CONCENTRATION " + StrForm(tc) + " MIN.");
  lines.push_back("6 HOUR RAINFALL " + StrForm(s.SixHourRainfall) + " INCHES");
  lines.push_back("BASIN AREA " + StrForm(s.BasinArea) + " ACRES");
  lines.push_back("RUNOFF COEFFICIENT " + StrForm(s.RunoffCoefficient));
  lines.push_back("PEAK DISCHARGE " + StrForm(s.Discharge(1)) + " CFS");
  lines.emplace_back(" ");
  for (long n = 0; n <= s.OrdinateCount; ++n) {
    std::string line = "    TIME (MIN) = ";
    line.reserve(64);
    line += StrForm(tc * static_cast<double>(n));
    line += "     DISCHARGE (CFS) = ";
    line += StrForm(s.Hydrograph(n));
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace rh
