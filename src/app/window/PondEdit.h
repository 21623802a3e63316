// A pond designed from its shape and outlets, as the study window edits it: the pond object of a
// pond file, with every value as the user typed it. Nothing here is checked; the pond file's
// reader checks the whole pond when the study runs, and its refusals name the key path that the
// window puts beside the field.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace rh {

// What a typed value shows again: numbers in their shortest exact form, texts as they are.
std::string ValueText(const nlohmann::json& value);

class PondEdit {
 public:
  enum class Storage { Contours, Box, Table };

  // The pond object in `text` (a pond file's JSON). A text that is not a JSON object gives an
  // empty pond, which the reader refuses when it runs.
  explicit PondEdit(const std::string& text);

  // The pond object's JSON text, as a pond file would hold it.
  std::string Text() const;

  Storage StorageForm() const;
  // Another storage form, made from the present one's bottom and top so that the pond still
  // rates: contours at the bottom and top, a box of the same depth, or a table.
  void SetStorageForm(Storage form);

  // The rows of the contours ([stage ft, area acres]) or the table ([stage ft, storage ac-ft]) as
  // typed; none for a box.
  std::vector<std::array<std::string, 2>> Rows() const;
  void SetRows(const std::vector<std::array<std::string, 2>>& rows);

  // A value at a key path ("top_ft", "storage.box.length_ft", "outlets[1].diameter_in",
  // "barrel.ke"), as typed: "" when it is absent. Setting blank text leaves the key out; a text
  // key ("name", "method") keeps what was typed as text; a place whose object or list the pond
  // does not have is left alone.
  std::string Field(const std::string& keyPath) const;
  void SetField(const std::string& keyPath, const std::string& typed);

  // The outlets, in the order the pond lists them.
  std::size_t OutletCount() const;
  std::string OutletType(std::size_t index) const;   // "orifice", "weir", "riser", "spillway"
  std::string OutletShape(std::size_t index) const;  // "" for a spillway
  // The outlet as the list and a sizing name it: its name, or its type and place ("weir2").
  std::string OutletLabel(std::size_t index) const;
  // The keys the outlet's type and shape take, after "name", in the order the editor shows them.
  std::vector<std::string> OutletKeys(std::size_t index) const;
  // A new outlet of `type` after the last, sized to sit within the pond.
  void AddOutlet(const std::string& type);
  void RemoveOutlet(std::size_t index);
  // Moves the outlet one place up (`by` -1) or down (+1); false at either end.
  bool MoveOutlet(std::size_t index, int by);
  // Another type or shape for an outlet: its name, count and the values both forms take are
  // kept, the rest start at the new form's defaults.
  void SetOutletForm(std::size_t index, const std::string& type, const std::string& shape);

  // The barrel the outlets pass through: none, or one with the keys below.
  bool HasBarrel() const;
  void SetBarrel(bool on);
  static const std::vector<std::string>& BarrelKeys();

  // The shapes each type of outlet comes in.
  static std::vector<std::string> Shapes(const std::string& type);

 private:
  double BottomFeet() const;
  double TopFeet() const;
  nlohmann::json NewOutlet(const std::string& type, const std::string& shape) const;

  nlohmann::json pond_;
};

}  // namespace rh
