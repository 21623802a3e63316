#include "app/window/PondEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "app/tables/JsonKeys.h"
#include "core/NumberForms.h"

namespace rh {

namespace {

using Json = nlohmann::json;

// "outlets[1].diameter_in" as a JSON pointer, "/outlets/1/diameter_in".
Json::json_pointer PointerOf(const std::string& keyPath) {
  std::string pointer;
  for (const char c : keyPath) {
    if (c == '.' || c == '[')
      pointer += '/';
    else if (c != ']')
      pointer += c;
  }
  return Json::json_pointer("/" + pointer);
}

bool IsTextKey(const std::string& keyPath) {
  const std::size_t dot = keyPath.find_last_of('.');
  const std::string key = dot == std::string::npos ? keyPath : keyPath.substr(dot + 1);
  return key == "name" || key == "method" || key == "type" || key == "shape";
}

// A stage shown to the hundredth of a foot, as a designer would type it.
double Hundredths(double feet) {
  return std::round(feet * 100) / 100;
}

// The keys of each form of outlet after its name, in the editor's order; the pond file's reader
// holds what each means and its range.
struct OutletForm {
  const char* Type;
  const char* Shape;  // "" for the spillway, which comes in one shape
  std::vector<std::string> Keys;
};
const std::vector<OutletForm>& OutletForms() {
  static const std::vector<OutletForm> kForms = {
      {"orifice", "circular", {"diameter_in", "invert_ft", "cd", "count", "barrel"}},
      {"orifice", "rectangular", {"width_in", "height_in", "invert_ft", "cd", "count", "barrel"}},
      {"weir", "rectangular", {"length_ft", "crest_ft", "cw", "contractions", "count", "barrel"}},
      {"weir", "v-notch", {"angle_deg", "crest_ft", "cw", "count", "barrel"}},
      {"riser", "circular", {"diameter_in", "crest_ft", "cw", "cd", "count", "barrel"}},
      {"riser", "box", {"side_in", "crest_ft", "cw", "cd", "count", "barrel"}},
      {"spillway", "", {"length_ft", "crest_ft", "cw", "count"}},
  };
  return kForms;
}

const OutletForm* FormOf(const std::string& type, const std::string& shape) {
  for (const OutletForm& form : OutletForms()) {
    if (type == form.Type && (shape == form.Shape || *form.Shape == '\0'))
      return &form;
  }
  return nullptr;
}

const Json& Null() {
  static const Json kNull;
  return kNull;
}

// The number at `key` of `object`, or `fallback`.
double NumberIn(const Json& object, const char* key, double fallback) {
  if (!object.is_object() || !object.contains(key) || !object[key].is_number())
    return fallback;
  return object[key].get<double>();
}

}  // namespace

std::string ValueText(const Json& value) {
  if (value.is_string())
    return value.get<std::string>();
  if (value.is_number_integer())
    return std::to_string(value.get<std::int64_t>());
  if (value.is_number())
    return PlainNumber(value.get<double>());
  if (value.is_boolean())
    return value.get<bool>() ? "true" : "false";
  return value.is_null() ? "" : value.dump();
}

PondEdit::PondEdit(const std::string& text) : pond_(Json::parse(text, nullptr, false)) {
  if (!pond_.is_object())
    pond_ = Json::object();
}

std::string PondEdit::Text() const {
  return pond_.dump();
}

PondEdit::Storage PondEdit::StorageForm() const {
  const Json& storage = pond_.contains("storage") ? pond_["storage"] : Null();
  if (storage.is_object() && storage.contains("box"))
    return Storage::Box;
  if (storage.is_object() && storage.contains("table"))
    return Storage::Table;
  return Storage::Contours;
}

double PondEdit::BottomFeet() const {
  const Json& storage = pond_.contains("storage") ? pond_["storage"] : Null();
  if (!storage.is_object())
    return 0;
  if (storage.contains("box"))
    return NumberIn(storage["box"], "bottom_ft", 0);
  for (const char* rows : {"contours", "table"}) {
    const Json& list = storage.contains(rows) ? storage[rows] : Null();
    if (list.is_array() && !list.empty() && list[0].is_array() && !list[0].empty() &&
        list[0][0].is_number())
      return list[0][0].get<double>();
  }
  return 0;
}

double PondEdit::TopFeet() const {
  const double bottom = BottomFeet();
  double top = NumberIn(pond_, "top_ft", bottom);
  const Json& storage = pond_.contains("storage") ? pond_["storage"] : Null();
  if (storage.is_object() && storage.contains("box"))
    top = std::max(top, bottom + NumberIn(storage["box"], "depth_ft", 0));
  for (const char* rows : {"contours", "table"}) {
    const Json& list = storage.is_object() && storage.contains(rows) ? storage[rows] : Null();
    if (list.is_array() && !list.empty() && list.back().is_array() && !list.back().empty() &&
        list.back()[0].is_number())
      top = std::max(top, list.back()[0].get<double>());
  }
  return top > bottom ? top : bottom + 1;
}

void PondEdit::SetStorageForm(Storage form) {
  if (form == StorageForm())
    return;
  const double bottom = BottomFeet();
  const double depth = TopFeet() - bottom;
  Json storage = Json::object();
  switch (form) {
    case Storage::Box:
      storage["box"] = {{"bottom_ft", bottom},
                        {"length_ft", 200},
                        {"width_ft", 100},
                        {"side_slope", 3},
                        {"depth_ft", depth}};
      break;
    case Storage::Table:
      storage["table"] = Json::array({Json::array({bottom, 0}), Json::array({bottom + depth, 1})});
      break;
    case Storage::Contours:
      storage["contours"] =
          Json::array({Json::array({bottom, 0.5}), Json::array({bottom + depth, 1})});
      break;
  }
  pond_["storage"] = std::move(storage);
}

std::vector<std::array<std::string, 2>> PondEdit::Rows() const {
  std::vector<std::array<std::string, 2>> rows;
  const char* key = StorageForm() == Storage::Table ? "table" : "contours";
  const Json& list =
      pond_.contains("storage") && pond_["storage"].is_object() && pond_["storage"].contains(key)
          ? pond_["storage"][key]
          : Null();
  if (StorageForm() == Storage::Box || !list.is_array())
    return rows;
  for (const Json& row : list) {
    std::array<std::string, 2> typed;
    for (std::size_t c = 0; c < 2 && row.is_array() && c < row.size(); ++c)
      typed[c] = ValueText(row[c]);
    rows.push_back(typed);
  }
  return rows;
}

void PondEdit::SetRows(const std::vector<std::array<std::string, 2>>& rows) {
  if (StorageForm() == Storage::Box)
    return;
  Json list = Json::array();
  for (const auto& row : rows) {
    // A blank cell stays in its place (as an empty text the reader refuses), so the row keeps
    // its two columns.
    Json pair = Json::array();
    for (const std::string& cell : row) {
      const Json value = json::TypedValue(cell);
      pair.push_back(value.is_null() ? Json("") : value);
    }
    list.push_back(std::move(pair));
  }
  const char* key = StorageForm() == Storage::Table ? "table" : "contours";
  if (!pond_["storage"].is_object())
    pond_["storage"] = Json::object();
  pond_["storage"][key] = std::move(list);
}

std::string PondEdit::Field(const std::string& keyPath) const {
  const Json::json_pointer at = PointerOf(keyPath);
  try {
    return pond_.contains(at) ? ValueText(pond_.at(at)) : std::string();
  } catch (const Json::exception&) {
    return {};
  }
}

void PondEdit::SetField(const std::string& keyPath, const std::string& typed) {
  const Json::json_pointer at = PointerOf(keyPath);
  Json value =
      IsTextKey(keyPath) && !json::Trimmed(typed).empty() ? Json(typed) : json::TypedValue(typed);
  try {
    if (value.is_null()) {
      if (pond_.contains(at) && pond_[at.parent_pointer()].is_object())
        pond_[at.parent_pointer()].erase(at.back());
    } else if (pond_.contains(at.parent_pointer())) {
      pond_[at] = std::move(value);
    }
  } catch (const Json::exception&) {
    // A place the pond does not have (an outlet past the list's end): left alone.
  }
}

std::size_t PondEdit::OutletCount() const {
  return pond_.contains("outlets") && pond_["outlets"].is_array() ? pond_["outlets"].size() : 0;
}

std::string PondEdit::OutletType(std::size_t index) const {
  return Field("outlets[" + std::to_string(index) + "].type");
}

std::string PondEdit::OutletShape(std::size_t index) const {
  return Field("outlets[" + std::to_string(index) + "].shape");
}

std::string PondEdit::OutletLabel(std::size_t index) const {
  std::string name = Field("outlets[" + std::to_string(index) + "].name");
  if (!name.empty())
    return name;
  const std::string type = OutletType(index);
  return (type.empty() ? std::string("outlet") : type) + std::to_string(index + 1);
}

std::vector<std::string> PondEdit::OutletKeys(std::size_t index) const {
  const OutletForm* form = FormOf(OutletType(index), OutletShape(index));
  return form ? form->Keys : std::vector<std::string>{};
}

Json PondEdit::NewOutlet(const std::string& type, const std::string& shape) const {
  const double bottom = BottomFeet();
  const double top = TopFeet();
  // Low devices at the bottom, overflow devices in the upper part of the pond, the spillway a
  // foot below the top or near it in a shallow pond.
  const double middle = Hundredths(bottom + (top - bottom) * 0.6);
  const double high = Hundredths(std::max(bottom + (top - bottom) * 0.8, top - 1));
  Json o = {{"type", type}};
  if (type != "spillway")
    o["shape"] = shape;
  if (type == "orifice") {
    if (shape == "rectangular") {
      o["width_in"] = 12;
      o["height_in"] = 6;
    } else {
      o["diameter_in"] = 6;
    }
    o["invert_ft"] = bottom;
  } else if (type == "weir") {
    if (shape == "v-notch")
      o["angle_deg"] = 90;
    else
      o["length_ft"] = 2;
    o["crest_ft"] = middle;
  } else if (type == "riser") {
    if (shape == "box")
      o["side_in"] = 36;
    else
      o["diameter_in"] = 36;
    o["crest_ft"] = middle;
  } else {
    o["length_ft"] = 20;
    o["crest_ft"] = high;
  }
  return o;
}

void PondEdit::AddOutlet(const std::string& type) {
  const std::vector<std::string> shapes = Shapes(type);
  if (!pond_.contains("outlets") || !pond_["outlets"].is_array())
    pond_["outlets"] = Json::array();
  pond_["outlets"].push_back(NewOutlet(type, shapes.empty() ? "" : shapes.front()));
}

void PondEdit::RemoveOutlet(std::size_t index) {
  if (index < OutletCount())
    pond_["outlets"].erase(index);
}

bool PondEdit::MoveOutlet(std::size_t index, int by) {
  const std::size_t to = index + static_cast<std::size_t>(by);
  if (index >= OutletCount() || to >= OutletCount())
    return false;
  std::swap(pond_["outlets"][index], pond_["outlets"][to]);
  return true;
}

void PondEdit::SetOutletForm(std::size_t index, const std::string& type, const std::string& shape) {
  if (index >= OutletCount())
    return;
  const OutletForm* form = FormOf(type, shape);
  if (!form)
    return;
  const Json old = pond_["outlets"][index];
  Json next = NewOutlet(type, form->Shape);
  for (const char* kept : {"name", "count"}) {
    if (old.is_object() && old.contains(kept))
      next[kept] = old[kept];
  }
  for (const std::string& key : form->Keys) {
    if (old.is_object() && old.contains(key))
      next[key] = old[key];
  }
  pond_["outlets"][index] = std::move(next);
}

bool PondEdit::HasBarrel() const {
  return pond_.contains("barrel");
}

void PondEdit::SetBarrel(bool on) {
  if (on == HasBarrel())
    return;
  if (!on) {
    pond_.erase("barrel");
    return;
  }
  pond_["barrel"] = {
      {"diameter_in", 36}, {"length_ft", 100}, {"outlet_invert_ft", Hundredths(BottomFeet() - 1)}};
}

const std::vector<std::string>& PondEdit::BarrelKeys() {
  static const std::vector<std::string> kKeys = {"diameter_in", "length_ft", "outlet_invert_ft",
                                                 "manning_n",   "ke",        "count"};
  return kKeys;
}

std::vector<std::string> PondEdit::Shapes(const std::string& type) {
  std::vector<std::string> shapes;
  for (const OutletForm& form : OutletForms()) {
    if (type == form.Type && *form.Shape != '\0')
      shapes.emplace_back(form.Shape);
  }
  return shapes;
}

}  // namespace rh
