#include "app/tables/PondFile.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "app/tables/PondJson.h"
#include "app/tables/TableText.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "engine/Hydrograph.h"

namespace rh {

namespace {

using tables::Line;

// What each column is called in messages, with its unit.
struct Column {
  const char* name;
  const char* unit;
};
constexpr Column kColumns[] = {{"stage", "ft"}, {"storage", "ac-ft"}, {"outflow", "cfs"}};

class Reader {
 public:
  explicit Reader(const std::string& name) : name_(ShownText(name)) {}

  [[noreturn]] void Refuse(long line, const std::string& what) const {
    throw Refused(messages::kPondTableTitle, name_ + ", line " + std::to_string(line) + ": " + what,
                  RunEntry::PondTable);
  }

  double Value(const Line& line, std::size_t column) const {
    const std::string_view text = line.Fields[column];
    const std::string field = std::string("the ") + kColumns[column].name + ", " + Quoted(text);
    const std::optional<double> value = tables::Number(text);
    if (!value)
      Refuse(line.Number, field + ", " +
                              (tables::BeyondRange(text) ? messages::kPondBeyondRangeText
                                                         : messages::kPondNotNumberText));
    if (*value < 0)
      Refuse(line.Number, field + ", " + messages::kPondNegativeText);
    return *value + 0.0;  // no -0
  }

  // "the stage 3 ft is not above the 3 ft on line 4; " and the rule.
  [[noreturn]] void OutOfOrder(const Line& line, std::size_t column, double value, double before,
                               const char* relation, const char* rule) const {
    const Column& c = kColumns[column];
    Refuse(line.Number, std::string("the ") + c.name + " " + PlainNumber(value) + " " + c.unit +
                            relation + PlainNumber(before) + " " + c.unit + " on line " +
                            std::to_string(lastLine_) + "; " + rule);
  }

  void Row(const Line& line) {
    if (line.Fields.size() != 3)
      Refuse(line.Number, Quoted(line.Text) + " " + messages::kPondRowText);
    const PondRow row{Value(line, 0), Value(line, 1), Value(line, 2)};
    // Routing works on the storage indication 2 S / dt + O, largest at the shortest step, one
    // minute: a row whose indication lies beyond the range of numbers cannot be routed.
    constexpr double kPerAcreFootAtOneMinute = 2 * kCubicFeetPerAcreFoot / 60;  // cfs per ac-ft
    if (!std::isfinite(row.StorageAcreFeet * kPerAcreFootAtOneMinute + row.OutflowCfs))
      Refuse(line.Number, "the storage " + Quoted(line.Fields[1]) + " and the outflow " +
                              Quoted(line.Fields[2]) + messages::kPondIndicationText);
    if (rows_.empty()) {
      if (row.StorageAcreFeet != 0 || row.OutflowCfs != 0)
        Refuse(line.Number, std::string(messages::kPondFirstRowText) +
                                messages::kPondFirstRowNotText + PlainNumber(row.StorageAcreFeet) +
                                " ac-ft and outflow " + PlainNumber(row.OutflowCfs) + " cfs.");
    } else {
      const PondRow& below = rows_.back();
      if (!(row.StageFeet > below.StageFeet))
        OutOfOrder(line, 0, row.StageFeet, below.StageFeet, messages::kPondNotAboveText,
                   messages::kPondStageOrderText);
      if (!(row.StorageAcreFeet > below.StorageAcreFeet))
        OutOfOrder(line, 1, row.StorageAcreFeet, below.StorageAcreFeet, messages::kPondNotAboveText,
                   messages::kPondStorageOrderText);
      if (row.OutflowCfs < below.OutflowCfs)
        OutOfOrder(line, 2, row.OutflowCfs, below.OutflowCfs, messages::kPondBelowText,
                   messages::kPondOutflowOrderText);
    }
    rows_.push_back(row);
    lastLine_ = line.Number;
  }

  std::vector<PondRow> rows_;

 private:
  std::string name_;  // as messages show it
  long lastLine_ = 0;
};

}  // namespace

TablePond ReadPondTable(std::string_view text, const std::string& name) {
  Reader reader(name);
  const std::vector<Line> lines = tables::SplitLines(text);
  for (const Line& line : lines) {
    if (line.Text.find('\0') != std::string_view::npos)
      reader.Refuse(line.Number, messages::kPondNotTextText);
  }
  if (lines.empty())
    throw Refused(messages::kPondTableTitle, ShownText(name) + ": " + messages::kPondEmptyText,
                  RunEntry::PondTable);
  const auto header = lines.begin();
  if (!(header->Fields.size() == 3 && header->Fields[0] == "stage_ft" &&
        header->Fields[1] == "storage_acft" && header->Fields[2] == "outflow_cfs"))
    reader.Refuse(header->Number,
                  std::string(messages::kPondHeaderText) + Quoted(header->Text) + ".");
  for (auto line = header + 1; line != lines.end(); ++line)
    reader.Row(*line);
  if (reader.rows_.size() < 2)
    reader.Refuse(header->Number, messages::kPondRowsUnderText +
                                      tables::Count(reader.rows_.size(), "row") +
                                      messages::kPondFewRowsText);
  return TablePond{PondTable(std::move(reader.rows_)), name, {}, nullptr};
}

std::shared_ptr<const TablePond> LoadPond(FileSystem& files, const std::string& path,
                                          const std::string& name) {
  bool truncated = false;
  const std::string text = files.ReadText(path, kMostPondFileBytes, truncated);
  if (truncated)
    throw Refused(messages::kPondTableTitle,
                  ShownText(name) + ": " + messages::kPondLargerText +
                      std::to_string(kMostPondFileBytes) + messages::kPondTooLargeText,
                  RunEntry::PondTable);
  TablePond pond = IsJsonPondName(path) ? ReadPondJson(text, name) : ReadPondTable(text, name);
  pond.Path = path;
  return std::make_shared<const TablePond>(std::move(pond));
}

}  // namespace rh
