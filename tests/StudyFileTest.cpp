#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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
