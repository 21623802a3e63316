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
#include "core/ShownText.h"
#include "engine/PondDesign.h"
#include "output/TextForms.h"

namespace rh {

namespace {

using Json = nlohmann::json;

// A pond file nests no deeper than a pair in a list in storage (3); this leaves room to spare.
constexpr int kDeepestNesting = 8;

// The values a number may take: from Low to High, each end in or out.
struct Range {
  double Low;
  bool LowIn;
  double High;
  bool HighIn;
};

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

bool InRange(double v, const Range& r) {
  return (r.LowIn ? v >= r.Low : v > r.Low) && (r.HighIn ? v <= r.High : v < r.High);
}

// "above 0 and at most 1"
std::string Describe(const Range& r) {
  return std::string(r.LowIn ? "at least " : "above ") + PlainNumber(r.Low) +
         (r.HighIn ? " and at most " : " and below ") + PlainNumber(r.High);
}

class Reader {
 public:
  explicit Reader(const std::string& name) : name_(ShownText(name)) {}

  [[noreturn]] void Refuse(const std::string& text) const {
    throw Refused(messages::kPondTableTitle, name_ + ": " + text, RunEntry::PondTable);
  }
  [[noreturn]] void WrongKind(const std::string& path, const char* kind) const {
    Refuse(path + messages::kPondJsonKindText + kind + ".");
  }

 private:
  std::string name_;  // as messages show it
};

// One object of the file, at `path`: its values are read by key, and Done() refuses the keys that
// were never read (those the pond file does not know at this place).
class Object {
 public:
  Object(const Reader& reader, const Json& value, std::string path)
      : r_(reader), v_(value), path_(std::move(path)) {
    if (!v_.is_object())
      r_.WrongKind(path_.empty() ? std::string(messages::kPondJsonFileText) : path_,
                   messages::kPondJsonObjectKind);
  }

  std::string Path(const std::string& key) const { return path_.empty() ? key : path_ + "." + key; }

  bool Has(const char* key) const { return v_.contains(key); }

  const Json* Find(const char* key) {
    const auto it = v_.find(key);
    if (it == v_.end())
      return nullptr;
    used_.insert(key);
    return &*it;
  }

  const Json& Need(const char* key) {
    if (const Json* value = Find(key))
      return *value;
    r_.Refuse(Path(key) + messages::kPondJsonMissingText);
  }

  double Number(const char* key, const Range& range, std::optional<double> fallback = {}) {
    const Json* value = fallback ? Find(key) : &Need(key);
    if (!value)
      return *fallback;
    if (!value->is_number())
      r_.WrongKind(Path(key), messages::kPondJsonNumberKind);
    const double v = value->get<double>() + 0.0;  // no -0
    if (!std::isfinite(v) || !InRange(v, range))
      r_.Refuse(Path(key) + " is " + PlainNumber(v) + messages::kPondJsonRangeText +
                Describe(range) + ".");
    return v;
  }

  long Whole(const char* key, long low, long high, long fallback) {
    const Json* value = Find(key);
    if (!value)
      return fallback;
    if (!value->is_number_integer())
      r_.WrongKind(Path(key), messages::kPondJsonWholeKind);
    const long long v =
        value->is_number_unsigned()
            ? static_cast<long long>(std::min<std::uint64_t>(value->get<std::uint64_t>(),
                                                             static_cast<std::uint64_t>(high) + 1))
            : value->get<long long>();
    if (v < low || v > high)
      r_.Refuse(Path(key) + messages::kPondJsonKindText + "a whole number from " +
                std::to_string(low) + " to " + std::to_string(high) + ".");
    return static_cast<long>(v);
  }

  std::optional<std::string> Text(const char* key) {
    const Json* value = Find(key);
    if (!value)
      return std::nullopt;
    if (!value->is_string())
      r_.WrongKind(Path(key), messages::kPondJsonTextKind);
    return value->get<std::string>();
  }

  // One of `choices`; `fallback` when the key is absent (none: the key must be there).
  std::string Choice(const char* key, std::initializer_list<const char*> choices,
                     const char* fallback = nullptr) {
    if (!fallback)
      Need(key);
    const std::optional<std::string> text = Text(key);
    if (!text)
      return fallback;
    std::string listed;
    for (const char* choice : choices) {
      if (*text == choice)
        return *text;
      listed += (listed.empty() ? "" : ", ") + std::string(choice);
    }
    r_.Refuse(Path(key) + messages::kPondJsonChoiceText + listed + ", not " + Quoted(*text) + ".");
  }

  bool Flag(const char* key, bool fallback) {
    const Json* value = Find(key);
    if (!value)
      return fallback;
    if (!value->is_boolean())
      r_.WrongKind(Path(key), messages::kPondJsonFlagKind);
    return value->get<bool>();
  }

  void Done() const {
    for (auto it = v_.begin(); it != v_.end(); ++it) {
      if (used_.count(it.key()) == 0)
        r_.Refuse(Path(ShownText(it.key(), 40)) + messages::kPondJsonUnknownText);
    }
  }

 private:
  const Reader& r_;
  const Json& v_;
  std::string path_;
  std::set<std::string> used_;
};

// The list at `path`.
const Json& List(const Reader& r, const Json& value, const std::string& path) {
  if (!value.is_array())
    r.WrongKind(path, messages::kPondJsonListKind);
  return value;
}

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
      r.Refuse(at + "[0] is " + PlainNumber(a) + messages::kPondJsonRangeText + Describe(first) +
               ".");
    if (!InRange(b, second))
      r.Refuse(at + "[1] is " + PlainNumber(b) + messages::kPondJsonRangeText + Describe(second) +
               ".");
    if (!pairs.empty() && !(a > pairs.back().first))
      r.Refuse(at + messages::kPondJsonRiseText);
    pairs.emplace_back(a, b);
  }
  if (pairs.size() < 2)
    r.Refuse(path + messages::kPondJsonFewText);
  return pairs;
}

PondStorage ReadStorage(const Reader& r, Object& top) {
  Object s(r, top.Need("storage"), "storage");
  const int forms = (s.Has("contours") ? 1 : 0) + (s.Has("box") ? 1 : 0) + (s.Has("table") ? 1 : 0);
  if (forms != 1)
    r.Refuse(messages::kPondJsonStorageText);
  PondStorage storage;
  if (const Json* contours = s.Find("contours")) {
    storage.Form = PondStorage::Kind::Contours;
    for (const auto& [stage, area] :
         Pairs(r, *contours, s.Path("contours"), messages::kPondJsonContourKind, kStage, kArea)) {
      if (!storage.Contours.empty() && area < storage.Contours.back().AreaAcres)
        r.Refuse(s.Path("contours") + "[" + std::to_string(storage.Contours.size()) + "]" +
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
        r.Refuse(at + "[1]" + messages::kPondJsonFirstStorageText);
      if (!storage.Table.empty() && !(volume > storage.Table.back().StorageAcreFeet))
        r.Refuse(at + "[1]" + messages::kPondJsonMoreStorageText);
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
    r.Refuse(o.Path("name") + " " + Quoted(*name) + messages::kPondJsonNameText);
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

Barrel ReadBarrel(const Reader& r, const Json& value) {
  Object o(r, value, "barrel");
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

// Parses `text`, refusing a key that appears twice in one object and nesting deeper than a pond
// file's.
Json Parse(const Reader& r, std::string_view text) {
  std::vector<std::set<std::string>> keys;  // of each open object
  const Json::parser_callback_t check = [&](int depth, Json::parse_event_t event, Json& parsed) {
    if (depth > kDeepestNesting)
      r.Refuse(messages::kPondJsonDeepText);
    if (event == Json::parse_event_t::object_start)
      keys.emplace_back();
    else if (event == Json::parse_event_t::object_end && !keys.empty())
      keys.pop_back();
    else if (event == Json::parse_event_t::key && !keys.empty() &&
             !keys.back().insert(parsed.get<std::string>()).second)
      r.Refuse(messages::kPondJsonTwiceText + Quoted(parsed.get<std::string>()) + ".");
    return true;
  };
  try {
    return Json::parse(text.begin(), text.end(), check);
  } catch (const Json::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without its tag.
    std::string what = e.what();
    const std::size_t tag = what.find("] ");
    if (tag != std::string::npos)
      what.erase(0, tag + 2);
    r.Refuse(messages::kPondJsonSyntaxText + ShownText(what, 160));
  }
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
  const Reader r(name);
  const Json json = Parse(r, text);
  Object top(r, json, "");
  auto designed = std::make_shared<DesignedPond>();
  PondDesign& d = designed->Design;
  const std::optional<std::string> pondName = top.Text("name");
  if (!pondName)
    top.Need("name");
  d.Name = *pondName;
  d.Storage = ReadStorage(r, top);
  const std::string outlets = "outlets";
  const Json& list = List(r, top.Need("outlets"), outlets);
  if (list.size() > kMostOutlets)
    r.Refuse(outlets + messages::kPondJsonKindText + "a list of at most " +
             std::to_string(kMostOutlets) + " devices (count gives identical ones).");
  for (std::size_t i = 0; i < list.size(); ++i)
    d.Outlets.push_back(ReadOutlet(r, list[i], outlets + "[" + std::to_string(i) + "]"));
  if (const Json* barrel = top.Find("barrel"))
    d.Pipe = ReadBarrel(r, *barrel);
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
      r.Refuse(outlets + "[" + std::to_string(i) + "]" + messages::kPondJsonSameColumnText +
               OutletColumn(d.Outlets[i], i + 1) + ".");
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
