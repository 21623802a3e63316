#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/run/StudyCheck.h"
#include "app/tables/StudyFile.h"
#include "platform/FileSystem.h"

namespace {

// The example study at 4 return periods, with the sizing of its low orifice or without it.
rh::StudyFile ExampleStudy(bool sized) {
  std::ifstream file(std::string(RH_TEST_DATA) + "/example.rhstudy");
  std::ostringstream text;
  text << file.rdbuf();
  std::string study = text.str();
  const std::string periods = "\"return_periods\": [\n      2,\n      10,\n      100\n    ]";
  const std::size_t at = study.find(periods);
  if (at != std::string::npos)
    study.replace(at, periods.size(), "\"return_periods\": [2, 10, 25, 100]");
  if (sized) {
    const std::size_t hec1 = study.find("\"hec1\"");
    study.insert(hec1,
                 R"("size": {"device": "low", "dimension": "diameter_in", "min": 6, "max": 48}, )");
  }
  return rh::ReadStudyFile(study, std::string(RH_TEST_DATA) + "/example.rhstudy");
}

// The whole study run (the existing and proposed basins, the routing, the criteria), and the same
// with the sizing: the difference is what the sizing adds.
void BM_Study(benchmark::State& state) {
  const rh::StudyFile study = ExampleStudy(state.range(0) != 0);
  rh::StdFileSystem files;
  const std::string path = std::string(RH_TEST_DATA) + "/example.rhstudy";
  for (auto _ : state) {
    const rh::StudyCheck check = rh::CheckStudy(study, path, files);
    benchmark::DoNotOptimize(check.Periods.size());
  }
}
BENCHMARK(BM_Study)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
