#include <gtest/gtest.h>

#include <string>

#include "app/tables/JsonKeys.h"
#include "app/tables/PondJson.h"
#include "app/window/PondEdit.h"
#include "core/Faults.h"

namespace {

using rh::PondEdit;

const char* const kPond =
    R"({"name": "P", "storage": {"contours": [[100, 1.9], [104, 2.5], [108, 3.0]]},
        "outlets": [{"type": "orifice", "name": "low", "shape": "circular", "diameter_in": 24,
                     "invert_ft": 100, "count": 2},
                    {"type": "spillway", "length_ft": 30, "crest_ft": 107}],
        "top_ft": 108})";

// The key path a refusal of `pond` names, or "" when the pond reads.
std::string RefusedKey(const PondEdit& pond) {
  try {
    rh::ReadPondJson(pond.Text(), "pond.json");
  } catch (const rh::Refused& refused) {
    return refused.Key().empty() ? std::string("(none)") : refused.Key();
  }
  return {};
}

TEST(PondEdit, TypedValuesAreWhatTheFileWouldHold) {
  const struct {
    const char* typed;
    const char* json;
  } cases[] = {{"24", "24"},       {" 0.60 ", "0.6"}, {"1e3", "1000"}, {"12a", "\"12a\""},
               {"false", "false"}, {"", "null"},      {"  ", "null"},  {"-0.5", "-0.5"}};
  for (const auto& c : cases)
    EXPECT_EQ(rh::json::TypedValue(c.typed).dump(), c.json) << c.typed;
}

TEST(PondEdit, FieldsAreReadAndWrittenByKeyPath) {
  PondEdit pond(kPond);
  EXPECT_EQ(pond.Field("outlets[0].diameter_in"), "24");
  EXPECT_EQ(pond.Field("storage.contours[1][1]"), "2.5");
  EXPECT_EQ(pond.Field("barrel.ke"), "");
  pond.SetField("outlets[0].diameter_in", "0");
  EXPECT_EQ(RefusedKey(pond), "outlets[0].diameter_in");
  pond.SetField("outlets[0].diameter_in", "18.5");
  pond.SetField("outlets[0].count", "");   // blank: the default
  pond.SetField("outlets[0].name", "12");  // a name stays text
  EXPECT_EQ(RefusedKey(pond), "");
  EXPECT_EQ(pond.Field("outlets[0].count"), "");
  EXPECT_EQ(pond.OutletLabel(0), "12");
  EXPECT_EQ(pond.OutletLabel(1), "spillway2");
  pond.SetField("outlets[9].crest_ft", "1");  // no such outlet: left alone
  EXPECT_EQ(pond.OutletCount(), 2u);
}

// Every outlet added, every form an outlet is turned into and every storage form gives a pond
// that rates as it stands, so an edit never starts from a refusal.
TEST(PondEdit, NewOutletsAndFormsSitWithinThePond) {
  for (const char* type : {"orifice", "weir", "riser", "spillway"}) {
    PondEdit pond(kPond);
    pond.AddOutlet(type);
    EXPECT_EQ(RefusedKey(pond), "") << type;
    for (const std::string& shape : PondEdit::Shapes(type)) {
      PondEdit turned(kPond);
      turned.SetOutletForm(0, type, shape);
      EXPECT_EQ(RefusedKey(turned), "") << type << " " << shape;
      EXPECT_EQ(turned.Field("outlets[0].name"), "low");
      EXPECT_EQ(turned.Field("outlets[0].count"), "2");
    }
  }
  for (const auto form :
       {PondEdit::Storage::Box, PondEdit::Storage::Table, PondEdit::Storage::Contours}) {
    PondEdit pond(kPond);
    pond.SetStorageForm(form);
    pond.SetBarrel(true);
    EXPECT_EQ(pond.StorageForm(), form);
    EXPECT_EQ(RefusedKey(pond), "") << static_cast<int>(form);
  }
}

TEST(PondEdit, OutletsMoveWithinTheListAndRowsKeepTheirPlaces) {
  PondEdit pond(kPond);
  EXPECT_FALSE(pond.MoveOutlet(0, -1));
  EXPECT_FALSE(pond.MoveOutlet(1, 1));
  EXPECT_TRUE(pond.MoveOutlet(1, -1));
  EXPECT_EQ(pond.OutletType(0), "spillway");
  pond.RemoveOutlet(0);
  pond.RemoveOutlet(5);
  EXPECT_EQ(pond.OutletCount(), 1u);

  auto rows = pond.Rows();
  ASSERT_EQ(rows.size(), 3u);
  rows[1][1] = "";  // a blank cell keeps its row in its place
  pond.SetRows(rows);
  EXPECT_EQ(RefusedKey(pond), "storage.contours[1]");
  rows[1][1] = "-1";
  pond.SetRows(rows);
  EXPECT_EQ(RefusedKey(pond), "storage.contours[1][1]");
}

}  // namespace
