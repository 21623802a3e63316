// A detention pond described by its shape and its outlet devices, and the stage-storage-outflow
// rating made from them: storage from contours, a sloped box or a table; outflow from orifices,
// weirs, risers and spillways, capped by the barrel through the embankment.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/Pond.h"

namespace rh {

// Gravity, ft/s^2, in every outlet formula.
constexpr double kGravityFeetPerSecond2 = 32.2;
// Rating stages closer than this, ft, make one row.
constexpr double kSameStageFeet = 1e-7;
// A rating never has more rows than this.
constexpr double kMostRatingRows = 1e6;

// One contour of a pond: the area of its water surface at a stage.
struct Contour {
  double StageFeet = 0;
  double AreaAcres = 0;
};

// How storage between two contours is found: the frustum of a cone, or the mean of the end areas.
enum class ContourMethod { Conic, AverageEnd };

// The pond's storage, one of three forms (Kind says which; the other members are unused).
struct PondStorage {
  enum class Kind { Contours, Box, Table };
  Kind Form = Kind::Contours;
  // Contours: stages strictly rising, areas >= 0 and never falling; the first is the bottom.
  std::vector<Contour> Contours;
  ContourMethod Method = ContourMethod::Conic;
  // Box: a rectangular bottom at BottomFeet, LengthFeet x WidthFeet, side slopes of SideSlope
  // horizontal to 1 vertical, DepthFeet deep.
  double BottomFeet = 0;
  double LengthFeet = 0;
  double WidthFeet = 0;
  double SideSlope = 0;
  double DepthFeet = 0;
  // Table: stage and storage strictly rising, the first storage 0; straight between rows.
  std::vector<PondRow> Table;  // OutflowCfs unused
};

// The lowest stage of `storage` (its empty pond), ft.
double StorageBottomFeet(const PondStorage& storage);
// The highest stage `storage` describes, ft: the last contour, the box's rim, the table's last row.
double StorageHighestFeet(const PondStorage& storage);
// The storage at `stageFeet`, ac-ft above the bottom (0 below it). Stages above the highest are
// not described (the caller keeps within it).
double StorageAt(const PondStorage& storage, double stageFeet);

// One outlet device (Count identical ones).
struct Outlet {
  enum class Type { Orifice, Weir, Riser, Spillway };
  enum class Shape { Circular, Rectangular, VNotch, Box, Broad };
  Type Kind = Type::Orifice;
  Shape Form = Shape::Circular;
  std::string Name;  // empty: named by its type and position
  long Count = 1;
  double DiameterInches = 0;  // circular orifice or riser
  double WidthInches = 0;     // rectangular orifice
  double HeightInches = 0;
  double SideInches = 0;      // box riser
  double LengthFeet = 0;      // rectangular weir, spillway
  double AngleDegrees = 0;    // v-notch weir
  int Contractions = 0;       // rectangular weir: 0, 1 or 2
  double InvertFeet = 0;      // orifice
  double CrestFeet = 0;       // weirs, risers, spillways
  double Cd = 0.60;           // orifice, riser
  double Cw = 3.33;           // weirs, risers, spillways
  bool ThroughBarrel = true;  // spillways never are
};

// The pipe that carries the outlets through the embankment (Count identical pipes).
struct Barrel {
  double DiameterInches = 0;
  long Count = 1;
  double LengthFeet = 0;
  double ManningN = 0.013;
  double Ke = 0.5;
  double OutletInvertFeet = 0;
};

// A pond designed from its shape and outlets.
struct PondDesign {
  std::string Name;
  PondStorage Storage;
  std::vector<Outlet> Outlets;
  std::optional<Barrel> Pipe;
  double TopFeet = 0;  // the top of the embankment, at most StorageHighestFeet
  double RatingStepFeet = 0.01;
};

// The flow of one device of `outlet` with the water surface at `stageFeet`, cfs (before its
// count and the barrel's cap). Orifice, opening height D and area A, d = H - invert: 0 for d <= 0,
// Cd A sqrt(2g D/2) (d/D)^1.5 below the crown, Cd A sqrt(2g (d - D/2)) above it. With h = H - crest
// > 0: rectangular weir Cw max(0, L - 0.1 c h) h^1.5; v-notch Cw tan(angle/2) h^2.5; spillway
// Cw L h^1.5; riser min(Cw P h^1.5, Cd A sqrt(2 g h)) with its rim P and opening A.
double OutletFlowCfs(const Outlet& outlet, double stageFeet);

// The capacity of `barrel` with the water surface at `stageFeet`, cfs: count x A x sqrt(2 g h /
// (1 + ke + 29 n^2 L / (D/4)^(4/3))), h the head above the outlet invert + D/2 (0 when below).
double BarrelCapacityCfs(const Barrel& barrel, double stageFeet);

// The stages at which a device's flow changes form: an orifice's invert and crown, the crest of
// the others.
std::vector<double> OutletStagesFeet(const Outlet& outlet);

// What a device's column is called: NAME_cfs, or its type and 1-based position (orifice1_cfs).
std::string OutletColumn(const Outlet& outlet, std::size_t position);

// A pond's rating: its rows with the flow of every device at each.
struct PondRating {
  std::vector<PondRow> Rows;
  // Row-major, Outlets.size() a row: each device's flow times its count, before the barrel's cap.
  std::vector<double> DeviceCfs;
  std::vector<double> BarrelCfs;     // the barrel's capacity at each row; empty without a barrel
  std::vector<std::string> Columns;  // the devices' column names
};

// The rating of `design`: rows at the bottom, at bottom + k x RatingStepFeet below the top, at
// every device stage (and the barrel's control stage) strictly between them, and at the top;
// stages closer than kSameStageFeet make one row (the lower; the top always stays). Each row's
// outflow is min(the devices through the barrel, its capacity) plus the others.
//
// Throws Refused (the pond table's warning, without the file's name) when the rating could not be
// routed: an outlet already flowing at the bottom, storage that does not rise between two rows,
// outflow that falls as the stage rises, or more than kMostRatingRows rows.
PondRating RatePond(const PondDesign& design);

// A pond file's design and the rating made from it (the table a run routes through).
struct DesignedPond {
  PondDesign Design;
  PondRating Rating;
};

// Each device's flow (times its count, before the barrel's cap) and the barrel's capacity with
// the water surface at `stageFeet`, straight in stage between the rating rows that hold it, as
// routing takes the outflow; a stage outside the rating takes its nearest row.
struct DeviceFlows {
  std::vector<double> DeviceCfs;    // in the order of the rating's columns
  std::optional<double> BarrelCfs;  // none without a barrel
};
DeviceFlows DeviceFlowsAt(const PondRating& rating, double stageFeet);

}  // namespace rh
