#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/run/StudyCheck.h"
#include "app/tables/StudyFile.h"
#include "core/Faults.h"
#include "engine/Criteria.h"
#include "platform/FileSystem.h"

namespace rh {
namespace {

const std::string kData = RH_TEST_DATA_DIR;

// A two-basin study on the county chart, with its pond inline.
const std::string kStudy = R"({
  "format": "rational-hydrograph-study", "version": 1,
  "storm": {"p6_in": 2.5},
  "basins": [
    {"name": "after", "role": "proposed", "tc_min": 10, "area_acres": 20, "c": 0.8},
    {"name": "before", "role": "existing", "tc_min": 20, "area_acres": 20, "c": 0.3}
  ],
  "pond": {"name": "p", "storage": {"contours": [[100, 1], [106, 1.5]]},
           "outlets": [{"type": "orifice", "name": "low", "shape": "circular",
                        "diameter_in": 18, "invert_ft": 100}]},
  "criteria": {"freeboard_ft": 1}
})";

std::string Edited(const std::string& from, const std::string& to) {
  std::string text = kStudy;
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(StudyFile, RefusesNamingTheKeyPath) {
  const struct {
    std::string from, to, path;
  } cases[] = {
      {"\"c\": 0.3", "\"c\": 1.3", "basins[1].c is 1.3"},
      {"\"c\": 0.3", "\"c\": \"0.3\"", "basins[1].c must be a number"},
      {"\"c\": 0.3", "\"c\": 0.3, \"cn\": 80", "basins[1].cn is not a key"},
      {"\"c\": 0.3", "\"c\": 0.3, \"c\": 0.4", "the same key twice"},
      {"\"role\": \"existing\"", "\"role\": \"proposed\"", "exactly one basin whose role"},
      {"\"diameter_in\": 18", "\"diameter_in\": -1", "pond.outlets[0].diameter_in is -1"},
      {"\"p6_in\": 2.5", "\"p6_in\": 2.5, \"rainfall\": \"x.csv\"", "exactly one of p6_in"},
      {"\"c\": 0.8}", "\"c\": 0.8, \"peak_cfs\": \"chart\"}", ""},
      {"{\"freeboard_ft\": 1}", "{\"allowable\": {\"2\": 40}}",
       "criteria.allowable must be a single"},
      {"{\"freeboard_ft\": 1}", "{\"allowable\": {\"fraction_of_existing\": 0}}",
       "criteria.allowable.fraction_of_existing is 0"},
      {"\"version\": 1", "\"version\": 2", "version must be a whole number from 1 to 1"},
      {"\"criteria\"", "\"size\": {\"storage\": \"scale\", \"min\": 2, \"max\": 1}, \"criteria\"",
       "size.max must not be below size.min"},
  };
  for (const auto& c : cases) {
    const std::string text = Edited(c.from, c.to);
    if (c.path.empty()) {
      EXPECT_NO_THROW(ReadStudyFile(text, "s.rhstudy")) << c.to;
      continue;
    }
    try {
      ReadStudyFile(text, "s.rhstudy");
      ADD_FAILURE() << "accepted " << c.to;
    } catch (const Refused& e) {
      EXPECT_NE(e.Text().find("s.rhstudy: "), std::string::npos) << e.Text();
      EXPECT_NE(e.Text().find(c.path), std::string::npos) << e.Text();
    }
  }
  // A numeric peak with several storms.
  const std::string several =
      R"({"format": "rational-hydrograph-study", "version": 1,
          "storm": {"rainfall": "r.csv", "return_periods": [2, 10]},
          "basins": [{"role": "proposed", "tc_min": 10, "area_acres": 1, "c": 1, "peak_cfs": 3}]})";
  EXPECT_THROW(ReadStudyFile(several, "s"), Refused);
}

TEST(StudyFile, RefusesAFileOverOneMebibyte) {
  StdFileSystem files;
  // The example is small; a study padded past 1 MiB with spaces is refused before it is parsed.
  const std::string path = ::testing::TempDir() + "big.rhstudy";
  files.ReplaceText(path, kStudy + std::string(kMostStudyFileBytes, ' '));
  EXPECT_THROW(LoadStudyFile(files, path), Refused);
}

// A study file's text from its parts: the storm, the basins' lines, and the keys after them.
std::string StudyText(const std::string& storm, const std::string& basins,
                      const std::string& rest) {
  return R"({"format": "rational-hydrograph-study", "version": 1, "storm": )" + storm +
         R"(, "basins": [)" + basins + "]" + rest + "}";
}

const std::string kProposed =
    R"({"name": "after", "role": "proposed", "tc_min": 10, "area_acres": 20, "c": 0.8})";
const std::string kExisting =
    R"({"name": "before", "role": "existing", "tc_min": 20, "area_acres": 20, "c": 0.3})";
const std::string kInlinePond =
    R"({"name": "p", "storage": {"contours": [[100, 1], [106, 1.5]], "method": "average-end"},
        "outlets": [{"type": "orifice", "name": "low", "shape": "circular", "diameter_in": 18,
                     "invert_ft": 100}], "top_ft": 105.5})";

// A study saved, read and saved again gives the same bytes, whatever order its keys came in; the
// first save keeps what was read.
TEST(StudyFileText, SavedStudiesReadBackToTheSameBytes) {
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> saved;  // in the saved text, in this order
  } cases[] = {
      {"the county chart, an entered peak, one release everywhere",
       StudyText(R"({"p6_in": 2.5})",
                 R"({"name": "a", "role": "proposed", "tc_min": 12.5, "area_acres": 3,
                     "c": 0.30000000000000004, "peak_cfs": 250.5})",
                 R"(, "criteria": {"allowable": 35.25})"),
       {"\"p6_in\": 2.5", "\"tc_min\": 12.5", "\"c\": 0.30000000000000004", "\"peak_cfs\": 250.5",
        "\"allowable\": 35.25", "\"hec1\": false"}},
      {"an embedded rainfall table, a release for each return period",
       StudyText(R"({"rainfall": {"name": "fm.csv", "text": "a,b\r\n1,\"2\"\n\u00fc\t"},
                     "return_periods": [100, 2]})",
                 kProposed, R"(, "criteria": {"allowable": {"100": 120, "2": 40.5}})"),
       {"\"name\": \"fm.csv\"", R"("text": "a,b\r\n1,\"2\"\nü\t")", "100,", "2\n", "\"2\": 40.5",
        "\"100\": 120"}},
      {"an inline pond, the existing peak, every criterion and a device sized",
       StudyText(R"({"p6_in": 3})", kProposed + ", " + kExisting,
                 R"(, "pond": )" + kInlinePond +
                     R"(, "criteria": {"allowable": "existing", "freeboard_ft": 1,
                     "drawdown_max_h": 48.5}, "size": {"device": "low",
                     "dimension": "diameter_in", "min": 6, "max": 30}, "hec1": true)"),
       {"\"diameter_in\": 18", "\"top_ft\": 105.5", "\"allowable\": \"existing\"",
        "\"freeboard_ft\": 1", "\"drawdown_max_h\": 48.5", "\"device\": \"low\"",
        "\"dimension\": \"diameter_in\"", "\"min\": 6", "\"max\": 30", "\"hec1\": true"}},
      {"a pond by its path, a share of the existing peak, the storage scaled",
       StudyText(R"({"rainfall": "../tables/atlas.csv"})", kExisting + ", " + kProposed,
                 R"(, "pond": "ponds/p.json", "route_step_min": 5,
                     "criteria": {"allowable": {"fraction_of_existing": 0.9}},
                     "size": {"storage": "scale", "min": 0.5, "max": 2})"),
       {"\"rainfall\": \"../tables/atlas.csv\"", "\"pond\": \"ponds/p.json\"",
        "\"route_step_min\": 5", "\"fraction_of_existing\": 0.9", "\"storage\": \"scale\"",
        "\"min\": 0.5", "\"max\": 2"}},
  };
  for (const auto& c : cases) {
    const std::string saved = StudyFileText(ReadStudyFile(c.text, "a.rhstudy"));
    EXPECT_EQ(StudyFileText(ReadStudyFile(saved, "b.rhstudy")), saved) << c.name;
    // Every key in another order: each object's keys sorted by name.
    const std::string shuffled = nlohmann::json::parse(c.text).dump();
    EXPECT_EQ(StudyFileText(ReadStudyFile(shuffled, "c.rhstudy")), saved) << c.name;
    std::size_t at = 0;
    for (const std::string& part : c.saved) {
      const std::size_t found = saved.find(part, at);
      EXPECT_NE(found, std::string::npos) << c.name << ": " << part << " in\n" << saved;
      at = found == std::string::npos ? at : found + part.size();
    }
    EXPECT_EQ(saved.back(), '\n') << c.name;
  }
}

// A path moved from one study file to another still names the same file, written from the new
// file's folder.
TEST(StudyFile, PathsFollowTheStudyFileWhenItMoves) {
  namespace fs = std::filesystem;
  const struct {
    const char* from;
    const char* written;
    const char* to;
    const char* rewritten;
  } cases[] = {
      {"a/s.rhstudy", "r.csv", "a/t.rhstudy", "r.csv"},
      {"a/s.rhstudy", "r.csv", "b/t.rhstudy", "../a/r.csv"},
      {"a/s.rhstudy", "../data/r.csv", "a/deep/t.rhstudy", "../../data/r.csv"},
      {"s.rhstudy", "tables/r.csv", "out/t.rhstudy", "../tables/r.csv"},
      {"out/s.rhstudy", "../r.csv", "t.rhstudy", "r.csv"},
      {"/srv/a/s.rhstudy", "./x/../r.csv", "/srv/b/t.rhstudy", "../a/r.csv"},
      {"/srv/a/s.rhstudy", "/srv/a/sub/r.csv", "/srv/a/t.rhstudy", "sub/r.csv"},
  };
  const auto same = [](const std::string& path) {
    return fs::absolute(fs::path(path)).lexically_normal().generic_string();
  };
  for (const auto& c : cases) {
    const std::string opened = StudyRelativeOpen(c.from, c.written);
    EXPECT_EQ(StudyRelativeWrite(c.to, opened), c.rewritten) << c.from << " " << c.written;
    EXPECT_EQ(same(StudyRelativeOpen(c.to, c.rewritten)), same(opened)) << c.to;
  }
  EXPECT_EQ(StudyRelativeOpen("a/s.rhstudy", "/data/r.csv"), "/data/r.csv");
}

TEST(Criteria, EachKindPassesAndFails) {
  PeriodFigures f;
  f.Routed = true;
  f.RoutedPeakCfs = 20;
  f.MaxStageFeet = 104;
  f.TopFeet = 105;
  f.DrawdownMinutes = 600;
  const struct {
    CriteriaLimits limits;
    bool overtopped, drains;
    Verdict PeriodVerdicts::*which;
    Verdict expected;
  } cases[] = {
      {{20.0, {}, {}}, false, true, &PeriodVerdicts::Release, Verdict::Pass},
      {{19.999, {}, {}}, false, true, &PeriodVerdicts::Release, Verdict::Fail},
      {{{}, 1.0, {}}, false, true, &PeriodVerdicts::Freeboard, Verdict::Pass},
      {{{}, 1.001, {}}, false, true, &PeriodVerdicts::Freeboard, Verdict::Fail},
      {{{}, {}, 600.0}, false, true, &PeriodVerdicts::Drawdown, Verdict::Pass},
      {{{}, {}, 599.0}, false, true, &PeriodVerdicts::Drawdown, Verdict::Fail},
      {{{}, {}, 1e9}, false, false, &PeriodVerdicts::Drawdown, Verdict::Fail},
      {{}, false, true, &PeriodVerdicts::Result, Verdict::Pass},
      {{}, true, true, &PeriodVerdicts::Result, Verdict::Fail},
  };
  for (const auto& c : cases) {
    PeriodFigures g = f;
    g.Overtopped = c.overtopped;
    if (!c.drains)
      g.DrawdownMinutes.reset();
    const PeriodVerdicts v = Judge(g, c.limits);
    EXPECT_EQ(v.*c.which, c.expected);
    EXPECT_EQ(v.Result == Verdict::Fail, c.expected == Verdict::Fail);
  }
}

TEST(Criteria, StorageAboveTheReleaseIsExact) {
  // 0, 30, 10, 0 cfs every 10 min; above 10 cfs: a triangle 20 cfs high from 10/3 to 20 min,
  // 166.67 cfs-min = 10000 ft3.
  RunResult r;
  r.Hydrograph.Reset(4);
  r.Hydrograph(1) = 30;
  r.Hydrograph(2) = 10;
  r.OrdinateCount = 3;
  EXPECT_NEAR(StorageAboveAcreFeet(r, 10, 10) * kCubicFeetPerAcreFoot, 10000, 1e-9);
  EXPECT_EQ(StorageAboveAcreFeet(r, 10, 30), 0);
}

// The study with the pond's low orifice `diameter` inches and a release criterion, sized when
// `size` holds a range.
StudyFile SizedStudy(const std::string& diameter, const std::string& size) {
  std::string text = Edited("\"diameter_in\": 18", "\"diameter_in\": " + diameter);
  const std::size_t at = text.find("\"criteria\"");
  text.insert(at, size);
  const std::size_t c = text.find("{\"freeboard_ft\": 1}");
  text.replace(c, 19, R"({"allowable": "existing", "freeboard_ft": 1, "drawdown_max_h": 48})");
  return ReadStudyFile(text, "s.rhstudy");
}

TEST(StudySizing, TheAnswerPassesAndTheNextStepFails) {
  StdFileSystem files;
  const struct {
    std::string size;
    double step;
  } cases[] = {
      {R"("size": {"device": "low", "dimension": "diameter_in", "min": 2, "max": 40}, )", 0.01},
  };
  for (const auto& c : cases) {
    const StudyCheck sized = CheckStudy(SizedStudy("18", c.size), "s.rhstudy", files);
    ASSERT_TRUE(sized.Sizing && sized.Sizing->Value) << sized.Sizing->Line;
    const double answer = *sized.Sizing->Value;
    EXPECT_TRUE(sized.Passes());
    const auto at = [&](double d) {
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", d);
      return CheckStudy(SizedStudy(text, ""), "s.rhstudy", files).Passes();
    };
    EXPECT_TRUE(at(answer));
    EXPECT_FALSE(at(answer + c.step));
  }
  // A range where nothing passes.
  const StudyCheck none = CheckStudy(
      SizedStudy(
          "18", R"("size": {"device": "low", "dimension": "diameter_in", "min": 36, "max": 40}, )"),
      "s.rhstudy", files);
  ASSERT_TRUE(none.Sizing);
  EXPECT_FALSE(none.Sizing->Value);
  EXPECT_FALSE(none.Passes());
  EXPECT_EQ(none.Sizing->Line.rfind(
                "SIZING: no value from 36.00 to 40.00 in passes; at 36.00 in release fails", 0),
            0U)
      << none.Sizing->Line;
  // The pond as given may pass; the study still fails when its sizing finds nothing.
  EXPECT_EQ(CriteriaOf(none).Result.rfind("RESULT FAIL", 0), 0U) << CriteriaOf(none).Result;
}

}  // namespace
}  // namespace rh
