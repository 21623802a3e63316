#include "output/HydrographTable.h"

#include "output/TextForms.h"

namespace rh {

namespace {

std::string Rows(const Run& run, char separator) {
  const RunResult& r = run.Result;
  std::string text;
  text.reserve(static_cast<std::size_t>(r.OrdinateCount + 2) * 16);
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    AppendPlainNumber(text, run.Inputs.TimeOfConcentration * static_cast<double>(n));
    text += separator;
    AppendPlainNumber(text, r.Hydrograph(n));
    text += '\n';
  }
  return text;
}

}  // namespace

std::string HydrographCsv(const Run& run) {
  return "time_min,discharge_cfs\n" + Rows(run, ',');
}

std::string HydrographTsv(const Run& run) {
  return Rows(run, '\t');
}

}  // namespace rh
