#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Basins.h"
#include "Fakes.h"
#include "app/tables/PondFile.h"
#include "app/tables/PondJson.h"
#include "core/Faults.h"
#include "engine/PondDesign.h"

namespace rh {
namespace {

// A trapezoidal basin with every kind of outlet.
const std::string kPond = R"({
  "name": "Basin 7",
  "storage": {"contours": [[100, 0.5], [104, 0.9], [110, 1.5]], "method": "average-end"},
  "outlets": [
    {"type": "orifice", "shape": "circular", "diameter_in": 6, "invert_ft": 100},
    {"type": "weir", "name": "notch", "shape": "v-notch", "angle_deg": 90, "crest_ft": 103},
    {"type": "riser", "shape": "box", "side_in": 48, "crest_ft": 106, "count": 2},
    {"type": "orifice", "shape": "rectangular", "width_in": 12, "height_in": 6,
     "invert_ft": 104, "barrel": false},
    {"type": "spillway", "length_ft": 20, "crest_ft": 108.5}
  ],
  "barrel": {"diameter_in": 24, "length_ft": 80, "outlet_invert_ft": 98},
  "top_ft": 109.5,
  "rating_step_ft": 0.04
})";

// `kPond` with `from` replaced by `to` (the first time it appears).
std::string Edited(const std::string& from, const std::string& to) {
  std::string text = kPond;
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(PondJson, ReadsTheDesignAndRatesIt) {
  const TablePond pond = ReadPondJson(kPond, "basin-7.json");
  ASSERT_TRUE(pond.Design);
  const PondDesign& d = pond.Design->Design;
  EXPECT_EQ(d.Name, "Basin 7");
  EXPECT_EQ(d.Storage.Method, ContourMethod::AverageEnd);
  ASSERT_EQ(d.Outlets.size(), 5U);
  EXPECT_EQ(d.Outlets[2].Count, 2);
  EXPECT_EQ(d.Outlets[1].Cw, 2.50);  // the v-notch's default
  EXPECT_FALSE(d.Outlets[3].ThroughBarrel);
  EXPECT_FALSE(d.Outlets[4].ThroughBarrel);
  ASSERT_TRUE(d.Pipe);
  EXPECT_EQ(d.Pipe->ManningN, 0.013);
  const std::vector<PondRow>& rows = pond.Table.Rows();
  EXPECT_EQ(rows.front().StageFeet, 100);
  EXPECT_EQ(rows.back().StageFeet, 109.5);
  // 100 + k x 0.04 for k from 0 to 237, the top, and the stages off that grid: the crowns 100.5
  // and 104.5 and the spillway's crest 108.5.
  EXPECT_EQ(rows.size(), 238U + 1 + 3);
  EXPECT_EQ(pond.Design->Rating.Columns,
            (std::vector<std::string>{"orifice1_cfs", "notch_cfs", "riser3_cfs", "orifice4_cfs",
                                      "spillway5_cfs"}));
}

TEST(PondJson, RefusesEachBrokenRule) {
  struct {
    const char* what;
    std::string text;
    std::string message;  // after "basin-7.json: "
  } cases[] = {
      {"not JSON", "{\"name\": ", messages::kPondJsonSyntaxText},
      {"a key twice", Edited("\"top_ft\": 109.5", "\"top_ft\": 109.5, \"top_ft\": 109"),
       std::string(messages::kPondJsonTwiceText) + "\"top_ft\"."},
      {"nested too deep", "[[[[[[[[[[1]]]]]]]]]]", messages::kPondJsonDeepText},
      {"unknown key", Edited("\"diameter_in\": 6", "\"diameter_in\": 6, \"dia\": 1"),
       std::string("outlets[0].dia") + messages::kPondJsonUnknownText},
      {"a key of another shape", Edited("\"side_in\": 48", "\"side_in\": 48, \"diameter_in\": 1"),
       std::string("outlets[2].diameter_in") + messages::kPondJsonUnknownText},
      {"missing value", Edited("\"invert_ft\": 104, ", ""),
       std::string("outlets[3].invert_ft") + messages::kPondJsonMissingText},
      {"wrong kind", Edited("\"diameter_in\": 6", "\"diameter_in\": \"6\""),
       std::string("outlets[0].diameter_in") + messages::kPondJsonKindText +
           messages::kPondJsonNumberKind + "."},
      {"out of range", Edited("\"diameter_in\": 6", "\"diameter_in\": 0"),
       std::string("outlets[0].diameter_in is 0") + messages::kPondJsonRangeText +
           "above 0 and at most 10000."},
      {"not a choice", Edited("\"v-notch\"", "\"vee\""),
       std::string("outlets[1].shape") + messages::kPondJsonChoiceText +
           "rectangular, v-notch, not \"vee\"."},
      {"count not whole", Edited("\"count\": 2", "\"count\": 1.5"),
       std::string("outlets[2].count") + messages::kPondJsonKindText +
           messages::kPondJsonWholeKind + "."},
      {"barrel flag", Edited("\"barrel\": false", "\"barrel\": 0"),
       std::string("outlets[3].barrel") + messages::kPondJsonKindText +
           messages::kPondJsonFlagKind + "."},
      {"spillway through the barrel",
       Edited("\"length_ft\": 20", "\"length_ft\": 20, \"barrel\": true"),
       std::string("outlets[4].barrel") + messages::kPondJsonUnknownText},
      {"two storages", Edited("\"method\"", "\"box\": {}, \"method\""),
       messages::kPondJsonStorageText},
      {"stages fall", Edited("[104, 0.9]", "[99, 0.9]"),
       std::string("storage.contours[1]") + messages::kPondJsonRiseText},
      {"areas fall", Edited("[104, 0.9]", "[104, 0.4]"),
       std::string("storage.contours[1]") + messages::kPondJsonFallText},
      {"a contour not a pair", Edited("[104, 0.9]", "[104]"),
       std::string("storage.contours[1]") + messages::kPondJsonKindText +
           messages::kPondJsonContourKind + "."},
      {"top above the contours", Edited("\"top_ft\": 109.5", "\"top_ft\": 111"),
       std::string("top_ft is 111") + messages::kPondJsonRangeText + "above 100 and at most 110."},
      {"rating step", Edited("0.04", "0.0001"),
       std::string("rating_step_ft is 0.0001") + messages::kPondJsonRangeText +
           "at least 0.001 and at most 0.5."},
      {"a name that is no column", Edited("\"notch\"", "\"v notch\""),
       std::string("outlets[1].name \"v notch\"") + messages::kPondJsonNameText},
      {"two columns alike", Edited("\"notch\"", "\"orifice1\""),
       std::string("outlets[1]") + messages::kPondJsonSameColumnText + "orifice1_cfs."},
      {"an outlet below the bottom", Edited("\"invert_ft\": 100", "\"invert_ft\": 99"),
       messages::kPondRatingBottomText},
      {"table starts above 0",
       R"({"name": "t", "storage": {"table": [[0, 1], [1, 2]]}, "outlets": []})",
       std::string("storage.table[0][1]") + messages::kPondJsonFirstStorageText},
      {"table storage flat",
       R"({"name": "t", "storage": {"table": [[0, 0], [1, 0]]}, "outlets": []})",
       std::string("storage.table[1][1]") + messages::kPondJsonMoreStorageText},
      {"too many outlets",
       R"({"name": "t", "storage": {"table": [[0, 0], [1, 1]]}, "outlets": [{}, {}, {}, {},
           {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}]})",
       std::string("outlets") + messages::kPondJsonKindText + "a list of at most 20"},
      {"box method",
       R"({"name": "t", "storage": {"box": {"bottom_ft": 0, "length_ft": 1, "width_ft": 1,
           "side_slope": 0, "depth_ft": 1}, "method": "conic"}, "outlets": []})",
       std::string("storage.method") + messages::kPondJsonUnknownText},
  };
  for (const auto& c : cases) {
    try {
      ReadPondJson(c.text, "basin-7.json");
      ADD_FAILURE() << c.what;
    } catch (const Refused& e) {
      EXPECT_EQ(e.Title(), messages::kPondTableTitle);
      const std::string text = e.Text();
      EXPECT_EQ(text.rfind("basin-7.json: ", 0), 0U) << c.what << ": " << text;
      EXPECT_NE(text.find(c.message), std::string::npos) << c.what << ": " << text;
    }
  }
}

// Each routed state's outlet flows, read between the rating rows at its stage, make up its
// outflow: the devices through the barrel up to its capacity, and the others beside them (to 2 %,
// where the barrel's cap sets in between two rows).
TEST(PondJson, OutletFlowsAtEachStateMakeUpTheOutflow) {
  const TablePond pond = ReadPondJson(kPond, "basin-7.json");
  const PondDesign& d = pond.Design->Design;
  // Outside the rating the nearest row counts: nothing at the bottom, the top row's flows above.
  const PondRating& rating = pond.Design->Rating;
  const std::size_t devices = d.Outlets.size();
  const std::vector<double> top(rating.DeviceCfs.end() - static_cast<std::ptrdiff_t>(devices),
                                rating.DeviceCfs.end());
  EXPECT_EQ(DeviceFlowsAt(rating, 50).DeviceCfs, std::vector<double>(devices, 0.0));
  EXPECT_EQ(DeviceFlowsAt(rating, 1e9).DeviceCfs, top);
  for (const double peak : {60.0, 400.0}) {
    const rh::Run run = test::ComputedBasin({10, 2.5, 100, 0.85, peak});
    const PondRouting p = RoutePond(run, pond.Table, 1);
    for (const PondState& s : p.States) {
      const DeviceFlows at = DeviceFlowsAt(pond.Design->Rating, s.StageFeet);
      ASSERT_EQ(at.DeviceCfs.size(), d.Outlets.size());
      ASSERT_TRUE(at.BarrelCfs);
      double through = 0;
      double beside = 0;
      for (std::size_t i = 0; i < d.Outlets.size(); ++i)
        (d.Outlets[i].ThroughBarrel && d.Outlets[i].Kind != Outlet::Type::Spillway ? through
                                                                                   : beside) +=
            at.DeviceCfs[i];
      EXPECT_NEAR(std::min(through, *at.BarrelCfs) + beside, s.OutflowCfs,
                  0.02 * s.OutflowCfs + 1e-9)
          << peak << " cfs at " << s.Minutes << " min";
    }
  }
}

// Loading picks the reader by the file's name; the 1 MiB limit holds for both.
TEST(PondJson, LoadedByItsName) {
  test::MemoryFileSystem files;
  files.files["ponds/b.JSON"] = kPond;
  EXPECT_TRUE(LoadPond(files, "ponds/b.JSON", "b.JSON")->Design);
  files.files["big.json"] = std::string(kMostPondFileBytes + 1, ' ');
  EXPECT_THROW(LoadPond(files, "big.json", "big.json"), Refused);
}

}  // namespace
}  // namespace rh
