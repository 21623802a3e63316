#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Faults.h"
#include "engine/PondDesign.h"

namespace rh {
namespace {

Outlet Device(Outlet::Type type, Outlet::Shape shape) {
  Outlet o;
  o.Kind = type;
  o.Form = shape;
  return o;
}

// Each device at the stages where its form changes; g = 32.2 ft/s^2, so 2g = 64.4.
TEST(OutletFlow, HandWorkedFigures) {
  Outlet orifice = Device(Outlet::Type::Orifice, Outlet::Shape::Circular);
  orifice.DiameterInches = 12;  // D 1 ft, A = pi / 4 = 0.785398 sq ft, Cd A = 0.471239
  orifice.InvertFeet = 100;
  Outlet slot = Device(Outlet::Type::Orifice, Outlet::Shape::Rectangular);
  slot.WidthInches = 24;  // 2 ft x 0.5 ft, A = 1 sq ft
  slot.HeightInches = 6;
  Outlet weir = Device(Outlet::Type::Weir, Outlet::Shape::Rectangular);
  weir.LengthFeet = 4;
  weir.Contractions = 2;
  Outlet notch = Device(Outlet::Type::Weir, Outlet::Shape::VNotch);
  notch.AngleDegrees = 90;  // tan 45 = 1
  notch.Cw = 2.5;
  Outlet spillway = Device(Outlet::Type::Spillway, Outlet::Shape::Broad);
  spillway.LengthFeet = 10;
  spillway.Cw = 2.6;
  Outlet riser = Device(Outlet::Type::Riser, Outlet::Shape::Circular);
  riser.DiameterInches = 36;  // P = 3 pi = 9.424778 ft, A = 9 pi / 4 = 7.068583 sq ft
  Outlet box = Device(Outlet::Type::Riser, Outlet::Shape::Box);
  box.SideInches = 24;  // P = 8 ft, A = 4 sq ft
  struct {
    const char* what;
    const Outlet& device;
    double stage;
    double cfs;
  } cases[] = {
      {"orifice dry at its invert", orifice, 100, 0},
      // 0.471239 x sqrt(64.4 x 0.5) x 0.5^1.5 = 0.471239 x 5.674504 x 0.353553
      {"orifice half full", orifice, 100.5, 0.945418},
      // at the crown both forms give 0.471239 x sqrt(64.4 x 0.5)
      {"orifice at its crown", orifice, 101, 2.674047},
      {"orifice under 3 ft", orifice, 103, 0.471239 * 12.688578},  // sqrt(64.4 x 2.5)
      {"slot under 2 ft", slot, 2, 0.6 * 10.616026},               // sqrt(64.4 x 1.75)
      {"weir at its crest", weir, 0, 0},
      {"weir, 1 ft head", weir, 1, 3.33 * 3.8},           // L - 0.1 x 2 x 1
      {"weir, 4 ft head", weir, 4, 3.33 * 3.2 * 8},       // (4 - 0.8) x 4^1.5
      {"weir, contractions wider than it", weir, 25, 0},  // 4 - 0.2 x 25 < 0
      {"v-notch, 2 ft head", notch, 2, 2.5 * 5.656854},   // 2^2.5
      {"spillway, 0.25 ft head", spillway, 0.25, 2.6 * 10 * 0.125},
      // weir 3.33 x 9.424778 = 31.384511 < orifice 0.6 x 7.068583 x sqrt(64.4) = 34.035064
      {"riser as a weir", riser, 1, 31.384511},
      // weir 31.384511 x 2^1.5 = 88.768801 > orifice 4.241150 x sqrt(128.8) = 48.132849
      {"riser as an orifice", riser, 2, 48.132849},
      // weir 3.33 x 8 x 0.353553 = 9.418662 < orifice 2.4 x sqrt(32.2) = 13.618811
      {"box riser, 0.5 ft head", box, 0.5, 9.418662},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(OutletFlowCfs(c.device, c.stage), c.cfs, 2e-6) << c.what;
}

// D 2 ft, A = pi; losses 1 + 0.5 + 29 x 0.013^2 x 50 / 0.5^(4/3) = 2.117487; control at 91 ft.
TEST(OutletFlow, BarrelCapacity) {
  Barrel barrel;
  barrel.DiameterInches = 24;
  barrel.LengthFeet = 50;
  barrel.OutletInvertFeet = 90;
  EXPECT_EQ(BarrelCapacityCfs(barrel, 90.5), 0);
  EXPECT_NEAR(BarrelCapacityCfs(barrel, 100), 51.976096, 1e-6);  // pi x sqrt(64.4 x 9 / 2.117487)
  barrel.Count = 2;
  EXPECT_NEAR(BarrelCapacityCfs(barrel, 100), 2 * 51.976096, 2e-6);
}

TEST(PondStorage, HandWorkedVolumes) {
  PondStorage conic;
  conic.Contours = {{0, 1}, {2, 3}};
  PondStorage averageEnd = conic;
  averageEnd.Method = ContourMethod::AverageEnd;
  PondStorage steps;
  steps.Contours = {{0, 0}, {1, 1}, {3, 1}};
  PondStorage box;
  box.Form = PondStorage::Kind::Box;
  box.BottomFeet = 10;
  box.LengthFeet = 100;
  box.WidthFeet = 50;
  box.SideSlope = 3;
  box.DepthFeet = 4;
  PondStorage table;
  table.Form = PondStorage::Kind::Table;
  table.Table = {{0, 0, 0}, {2, 1, 0}, {3, 4, 0}};
  struct {
    const char* what;
    const PondStorage& storage;
    double stage;
    double acreFeet;
  } cases[] = {
      {"below the bottom", conic, -1, 0},
      {"conic, mid-segment", conic, 1, 1.471405},  // (1/3)(1 + 2 + sqrt 2)
      {"conic, top contour", conic, 2, 3.821367},  // (2/3)(1 + 3 + sqrt 3)
      {"average-end, mid-segment", averageEnd, 1, 1.5},
      {"conic over two segments", steps, 2, 1.0 / 3 + 1},
      // 100 x 50 x 2 + 150 x 3 x 4 + (4/3) x 9 x 8 = 11,896 cu ft
      {"box, 2 ft deep", box, 12, 11896.0 / 43560},
      {"table between rows", table, 2.5, 2.5},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(StorageAt(c.storage, c.stage), c.acreFeet, 1e-6) << c.what;
}

PondDesign BoxDesign() {
  PondDesign d;
  d.Storage.Form = PondStorage::Kind::Box;
  d.Storage.LengthFeet = 100;
  d.Storage.WidthFeet = 100;
  d.Storage.DepthFeet = 1;
  d.TopFeet = 1;
  d.RatingStepFeet = 0.3;
  return d;
}

// Rows at the grid, the device stages between it, and the top; near stages make one row.
TEST(RatePond, RowsAndTheBarrelCap) {
  PondDesign d = BoxDesign();
  Outlet orifice = Device(Outlet::Type::Orifice, Outlet::Shape::Circular);
  orifice.DiameterInches = 1.2;  // invert 0.45, crown 0.55
  orifice.InvertFeet = 0.45;
  orifice.Count = 2;
  Outlet weir = Device(Outlet::Type::Weir, Outlet::Shape::Rectangular);
  weir.Name = "notch";
  weir.LengthFeet = 2;
  weir.CrestFeet = 0.6 + 5e-8;  // one row with 0.6
  Outlet free = weir;
  free.Name.clear();
  free.ThroughBarrel = false;
  Outlet spillway = Device(Outlet::Type::Spillway, Outlet::Shape::Broad);
  spillway.LengthFeet = 5;
  spillway.Cw = 2.6;
  spillway.CrestFeet = 1 - 5e-8;  // one row with the top
  d.Outlets = {orifice, weir, free, spillway};
  Barrel barrel;
  barrel.DiameterInches = 6;
  barrel.LengthFeet = 20;
  barrel.OutletInvertFeet = -2.25;  // control stage -2
  d.Pipe = barrel;

  const PondRating r = RatePond(d);
  std::vector<double> stages;
  for (const PondRow& row : r.Rows)
    stages.push_back(row.StageFeet);
  const std::vector<double> expected{0, 0.3, 0.45, 0.55, 0.6, 0.3 * 3, 1};
  EXPECT_EQ(stages, expected);
  EXPECT_EQ(r.Columns,
            (std::vector<std::string>{"orifice1_cfs", "notch_cfs", "weir3_cfs", "spillway4_cfs"}));
  for (std::size_t i = 0; i < r.Rows.size(); ++i) {
    const double h = r.Rows[i].StageFeet;
    const double* q = &r.DeviceCfs[i * 4];
    EXPECT_EQ(q[0], 2 * OutletFlowCfs(orifice, h));
    const double capacity = BarrelCapacityCfs(barrel, h);
    EXPECT_EQ(r.BarrelCfs[i], capacity);
    EXPECT_DOUBLE_EQ(r.Rows[i].OutflowCfs, std::min(q[0] + q[1], capacity) + q[2] + q[3]) << h;
    EXPECT_DOUBLE_EQ(r.Rows[i].StorageAcreFeet, StorageAt(d.Storage, h));
  }
  const double* top = &r.DeviceCfs[r.DeviceCfs.size() - 4];
  EXPECT_LT(r.BarrelCfs.back(), top[0] + top[1]);  // the barrel caps them at the top
}

// A rating's columns hold exactly what the single-stage formulas give at each of its rows, for
// every device form, above and below each crest, and storage by either contour method.
TEST(RatePond, ColumnsAgreeWithTheFormulasAtEachRow) {
  Outlet orifice = Device(Outlet::Type::Orifice, Outlet::Shape::Circular);
  orifice.DiameterInches = 12;
  orifice.InvertFeet = 0.5;
  orifice.Count = 3;
  Outlet notch = Device(Outlet::Type::Weir, Outlet::Shape::VNotch);
  notch.AngleDegrees = 60;
  notch.CrestFeet = 2;
  Outlet riser = Device(Outlet::Type::Riser, Outlet::Shape::Box);
  riser.SideInches = 24;
  riser.CrestFeet = 3;
  Outlet spillway = Device(Outlet::Type::Spillway, Outlet::Shape::Broad);
  spillway.LengthFeet = 10;
  spillway.CrestFeet = 5.5;
  for (const ContourMethod method : {ContourMethod::Conic, ContourMethod::AverageEnd}) {
    PondDesign d;
    d.Storage.Contours = {{0, 0.5}, {1.5, 0.8}, {4, 1.1}, {6, 1.6}};
    d.Storage.Method = method;
    d.Outlets = {orifice, notch, riser, spillway};
    d.TopFeet = 6;
    d.RatingStepFeet = 0.07;
    const PondRating r = RatePond(d);
    for (std::size_t i = 0; i < r.Rows.size(); ++i) {
      const double h = r.Rows[i].StageFeet;
      EXPECT_EQ(r.Rows[i].StorageAcreFeet, StorageAt(d.Storage, h)) << h;
      for (std::size_t k = 0; k < d.Outlets.size(); ++k)
        EXPECT_EQ(r.DeviceCfs[i * 4 + k],
                  static_cast<double>(d.Outlets[k].Count) * OutletFlowCfs(d.Outlets[k], h))
            << k << " at " << h;
    }
  }
}

TEST(RatePond, RefusesRatingsThatCannotBeRouted) {
  Outlet low = Device(Outlet::Type::Orifice, Outlet::Shape::Circular);
  low.DiameterInches = 6;
  low.InvertFeet = -1;
  Outlet contracted = Device(Outlet::Type::Weir, Outlet::Shape::Rectangular);
  contracted.LengthFeet = 0.1;
  contracted.Contractions = 2;
  PondDesign flat = BoxDesign();
  flat.Storage.Form = PondStorage::Kind::Contours;
  flat.Storage.Contours = {{0, 0}, {0.5, 0}, {1, 1}};
  PondDesign longStep = BoxDesign();
  longStep.TopFeet = 2e6;
  longStep.Storage.DepthFeet = 2e6;
  longStep.RatingStepFeet = 1;
  struct {
    const char* what;
    PondDesign design;
    std::vector<Outlet> outlets;
    const char* text;
  } cases[] = {
      {"an outlet below the bottom", BoxDesign(), {low}, messages::kPondRatingBottomText},
      {"outflow falls", BoxDesign(), {contracted}, messages::kPondRatingOutflowText},
      {"no storage", flat, {}, messages::kPondRatingStorageText},
      {"too many rows", longStep, {}, messages::kPondRatingRowsText},
  };
  for (auto& c : cases) {
    c.design.Outlets = c.outlets;
    try {
      RatePond(c.design);
      ADD_FAILURE() << c.what;
    } catch (const Refused& e) {
      EXPECT_NE(e.Text().find(c.text), std::string::npos) << c.what << ": " << e.Text();
    }
  }
}

}  // namespace
}  // namespace rh
