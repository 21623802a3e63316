#include "app/tables/PondJson.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "engine/PondDesign.h"

namespace rh {

namespace {

using json::Describe;
using json::InRange;
using json::Json;
using json::List;
using json::Object;
using json::Range;
using json::Reader;

// A pond file nests no deeper than a pair in a list in storage (3); this leaves room to spare.
constexpr int kDeepestNesting = 8;

constexpr Range kStage{0, true, 1e5, true};    // ft; stages may be elevations
constexpr Range kArea{0, true, 1e6, true};     // acres
constexpr Range kVolume{0, true, 1e7, true};   // ac-ft
constexpr Range kLength{0, false, 1e5, true};  // ft
constexpr Range kInches{0, false, 1e4, true};  // in
constexpr Range kSlope{0, true, 100, true};    // horizontal to 1 vertical
constexpr Range kDischargeCoefficient{0, false, 1, true};
constexpr Range kWeirCoefficient{0, false, 10, true};
constexpr Range kAngle{0, false, 180, false};  // degrees
constexpr Range kManningN{0, false, 1, true};
constexpr Range kEntranceLoss{0, true, 10, true};
constexpr Range kBarrelLength{0, true, 1e5, true};    // ft
constexpr Range kRatingStep{0.001, true, 0.5, true};  // ft
constexpr long kMostDevices = 1000;                   // identical devices or barrels
// Outlets in one pond's list: its rating holds a column for each at every row.
constexpr std::size_t kMostOutlets = 20;

// What a pond file's refusals say.
constexpr json::FileWords kPondWords{messages::kPondTableTitle,      RunEntry::PondTable,
                                     messages::kPondJsonUnknownText, messages::kPondJsonSyntaxText,
                                     messages::kPondJsonDeepText,    kDeepestNesting};

// The pairs of numbers of the list at `path`: each within `first` and `second`.
std::vector<std::pair<double, double>> Pairs(const Reader& r, const Json& value,
                                             const std::string& path, const char* kind,
                                             const Range& first, const Range& second) {
  std::vector<std::pair<double, double>> pairs;
  const Json& list = List(r, value, path);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Json& pair = list[i];
    const std::string at = path + "[" + std::to_string(i) + "]";
    if (!(pair.is_array() && pair.size() == 2 && pair[0].is_number() && pair[1].is_number()))
      r.WrongKind(at, kind);
    const double a = pair[0].get<double>() + 0.0;
    const double b = pair[1].get<double>() + 0.0;
    if (!InRange(a, first))
      r.RefuseAt(at + "[0]",
                 " is " + PlainNumber(a) + messages::kPondJsonRangeText + Describe(first) + ".");
    if (!InRange(b, second))
      r.RefuseAt(at + "[1]",
                 " is " + PlainNumber(b) + messages::kPondJsonRangeText + Describe(second) + ".");
    if (!pairs.empty() && !(a > pairs.back().first))
      r.RefuseAt(at, messages::kPondJsonRiseText);
    pairs.emplace_back(a, b);
  }
  if (pairs.size() < 2)
    r.RefuseAt(path, messages::kPondJsonFewText);
  return pairs;
}

PondStorage ReadStorage(const Reader& r, Object& top) {
  Object s(r, top.Need("storage"), top.Path("storage"));
  const int forms = (s.Has("contours") ? 1 : 0) + (s.Has("box") ? 1 : 0) + (s.Has("table") ? 1 : 0);
  if (forms != 1)
    r.Refuse(messages::kPondJsonStorageText);
  PondStorage storage;
  if (const Json* contours = s.Find("contours")) {
    storage.Form = PondStorage::Kind::Contours;
    for (const auto& [stage, area] :
         Pairs(r, *contours, s.Path("contours"), messages::kPondJsonContourKind, kStage, kArea)) {
      if (!storage.Contours.empty() && area < storage.Contours.back().AreaAcres)
        r.RefuseAt(s.Path("contours") + "[" + std::to_string(storage.Contours.size()) + "]",
                   messages::kPondJsonFallText);
      storage.Contours.push_back({stage, area});
    }
    storage.Method = s.Choice("method", {"conic", "average-end"}, "conic") == "conic"
                         ? ContourMethod::Conic
                         : ContourMethod::AverageEnd;
  } else if (const Json* box = s.Find("box")) {
    storage.Form = PondStorage::Kind::Box;
    Object b(r, *box, s.Path("box"));
    storage.BottomFeet = b.Number("bottom_ft", kStage);
    storage.LengthFeet = b.Number("length_ft", kLength);
    storage.WidthFeet = b.Number("width_ft", kLength);
    storage.SideSlope = b.Number("side_slope", kSlope);
    storage.DepthFeet = b.Number("depth_ft", kLength);
    b.Done();
  } else {
    storage.Form = PondStorage::Kind::Table;
    const std::string path = s.Path("table");
    for (const auto& [stage, volume] :
         Pairs(r, *s.Find("table"), path, messages::kPondJsonTableKind, kStage, kVolume)) {
      const std::string at = path + "[" + std::to_string(storage.Table.size()) + "]";
      if (storage.Table.empty() && volume != 0)
        r.RefuseAt(at + "[1]", messages::kPondJsonFirstStorageText);
      if (!storage.Table.empty() && !(volume > storage.Table.back().StorageAcreFeet))
        r.RefuseAt(at + "[1]", messages::kPondJsonMoreStorageText);
      storage.Table.push_back({stage, volume, 0});
    }
  }
  s.Done();
  return storage;
}

// The name of an outlet: what its column is called, so letters, digits, _ and - alone.
std::string OutletName(const Reader& r, Object& o) {
  const std::optional<std::string> name = o.Text("name");
  if (!name)
    return {};
  const bool plain = !name->empty() && name->size() <= 40 &&
                     name->find_first_not_of(
                         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                         "0123456789_-") == std::string::npos;
  if (!plain)
    r.RefuseAt(o.Path("name"), " " + Quoted(*name) + messages::kPondJsonNameText);
  return *name;
}

Outlet ReadOutlet(const Reader& r, const Json& value, const std::string& path) {
  Object o(r, value, path);
  Outlet d;
  const std::string type = o.Choice("type", {"orifice", "weir", "riser", "spillway"});
  d.Name = OutletName(r, o);
  d.Count = o.Whole("count", 1, kMostDevices, 1);
  if (type == "orifice") {
    d.Kind = Outlet::Type::Orifice;
    if (o.Choice("shape", {"circular", "rectangular"}) == "circular") {
      d.Form = Outlet::Shape::Circular;
      d.DiameterInches = o.Number("diameter_in", kInches);
    } else {
      d.Form = Outlet::Shape::Rectangular;
      d.WidthInches = o.Number("width_in", kInches);
      d.HeightInches = o.Number("height_in", kInches);
    }
    d.InvertFeet = o.Number("invert_ft", kStage);
    d.Cd = o.Number("cd", kDischargeCoefficient, 0.60);
  } else if (type == "weir") {
    d.Kind = Outlet::Type::Weir;
    if (o.Choice("shape", {"rectangular", "v-notch"}) == "rectangular") {
      d.Form = Outlet::Shape::Rectangular;
      d.LengthFeet = o.Number("length_ft", kLength);
      d.Cw = o.Number("cw", kWeirCoefficient, 3.33);
      d.Contractions = static_cast<int>(o.Whole("contractions", 0, 2, 0));
    } else {
      d.Form = Outlet::Shape::VNotch;
      d.AngleDegrees = o.Number("angle_deg", kAngle);
      d.Cw = o.Number("cw", kWeirCoefficient, 2.50);
    }
    d.CrestFeet = o.Number("crest_ft", kStage);
  } else if (type == "riser") {
    d.Kind = Outlet::Type::Riser;
    if (o.Choice("shape", {"circular", "box"}) == "circular") {
      d.Form = Outlet::Shape::Circular;
      d.DiameterInches = o.Number("diameter_in", kInches);
    } else {
      d.Form = Outlet::Shape::Box;
      d.SideInches = o.Number("side_in", kInches);
    }
    d.CrestFeet = o.Number("crest_ft", kStage);
    d.Cw = o.Number("cw", kWeirCoefficient, 3.33);
    d.Cd = o.Number("cd", kDischargeCoefficient, 0.60);
  } else {
    d.Kind = Outlet::Type::Spillway;
    d.Form = Outlet::Shape::Broad;
    d.LengthFeet = o.Number("length_ft", kLength);
    d.CrestFeet = o.Number("crest_ft", kStage);
    d.Cw = o.Number("cw", kWeirCoefficient, 2.60);
  }
  // Spillways run over the embankment, never through its barrel.
  d.ThroughBarrel = d.Kind != Outlet::Type::Spillway && o.Flag("barrel", true);
  o.Done();
  return d;
}

Barrel ReadBarrel(const Reader& r, const Json& value, const std::string& path) {
  Object o(r, value, path);
  Barrel b;
  b.DiameterInches = o.Number("diameter_in", kInches);
  b.Count = o.Whole("count", 1, kMostDevices, 1);
  b.LengthFeet = o.Number("length_ft", kBarrelLength);
  b.ManningN = o.Number("manning_n", kManningN, 0.013);
  b.Ke = o.Number("ke", kEntranceLoss, 0.5);
  b.OutletInvertFeet = o.Number("outlet_invert_ft", kStage);
  o.Done();
  return b;
}

}  // namespace

bool IsJsonPondName(std::string_view name) {
  if (name.size() < 5)
    return false;
  std::string end(name.substr(name.size() - 5));
  for (char& c : end)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end == ".json";
}

TablePond ReadPondJson(std::string_view text, const std::string& name) {
  const Reader r(name, kPondWords);
  return ReadPondObject(r, json::Parse(r, text), "", name);
}

TablePond ReadPondObject(const json::Reader& r, const json::Json& value, const std::string& path,
                         const std::string& name) {
  Object top(r, value, path);
  auto designed = std::make_shared<DesignedPond>();
  PondDesign& d = designed->Design;
  const std::optional<std::string> pondName = top.Text("name");
  if (!pondName)
    top.Need("name");
  d.Name = *pondName;
  d.Storage = ReadStorage(r, top);
  const std::string outlets = top.Path("outlets");
  const Json& list = List(r, top.Need("outlets"), outlets);
  if (list.size() > kMostOutlets)
    r.RefuseAt(outlets, messages::kPondJsonKindText + std::string("a list of at most ") +
                            std::to_string(kMostOutlets) +
                            " devices (count gives identical ones).");
  for (std::size_t i = 0; i < list.size(); ++i)
    d.Outlets.push_back(ReadOutlet(r, list[i], outlets + "[" + std::to_string(i) + "]"));
  if (const Json* barrel = top.Find("barrel"))
    d.Pipe = ReadBarrel(r, *barrel, top.Path("barrel"));
  const double bottom = StorageBottomFeet(d.Storage);
  const double highest = StorageHighestFeet(d.Storage);
  if (!(highest > bottom))
    r.Refuse(messages::kPondJsonHeightText);
  d.TopFeet = top.Number("top_ft", Range{bottom, false, highest, true}, highest);
  d.RatingStepFeet = top.Number("rating_step_ft", kRatingStep, 0.01);
  top.Done();

  // The rating's own columns, then the devices'.
  std::set<std::string> columns{"stage_ft", "storage_acft", "outflow_cfs", "barrel_capacity_cfs"};
  for (std::size_t i = 0; i < d.Outlets.size(); ++i) {
    if (!columns.insert(OutletColumn(d.Outlets[i], i + 1)).second)
      r.RefuseAt(outlets + "[" + std::to_string(i) + "]",
                 messages::kPondJsonSameColumnText + OutletColumn(d.Outlets[i], i + 1) + ".");
  }
  try {
    designed->Rating = RatePond(d);
  } catch (const Refused& e) {
    r.Refuse(e.Text());
  }
  PondTable table(designed->Rating.Rows);
  return TablePond{std::move(table), name, {}, std::move(designed)};
}

}  // namespace rh
