#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/run/StudyCheck.h"
#include "app/tables/StudyFile.h"
#include "app/window/StudyEdit.h"
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

// One keystroke in the study window: the proposed basin's area typed anew and the 4-storm study
// with its designed pond run again from the entries (the window then draws what this returns).
void BM_StudyWindowKeystroke(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "rh-bench-study";
  fs::create_directories(dir);
  for (const char* table : {"atlas14-fort-myers-fl.csv", "example-pond.json"})
    fs::copy_file(fs::path(RH_TEST_DATA) / table, dir / table,
                  fs::copy_options::overwrite_existing);
  std::ofstream((dir / "four.rhstudy").string()) << rh::StudyFileText(ExampleStudy(false));
  rh::StdFileSystem files;
  rh::StudyEdit edit(files, (dir / "four.rhstudy").string());
  bool wider = false;
  for (auto _ : state) {
    wider = !wider;
    edit.SetEntry(rh::BasinRole::Proposed, rh::BasinEntry::Area, wider ? "21" : "20");
    if (const auto problem = edit.Rerun()) {
      state.SkipWithError(problem->Text.c_str());
      break;
    }
  }
  state.counters["storms"] = static_cast<double>(edit.Check().Periods.size());
  fs::remove_all(dir);
}
BENCHMARK(BM_StudyWindowKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
