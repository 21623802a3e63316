#include "app/tables/RainfallTable.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>
#include <utility>

#include "app/tables/TableText.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "engine/Hydrograph.h"

namespace rh {

namespace {

using tables::Count;
using tables::Line;
using tables::Number;
using tables::SplitLines;
using tables::Trim;

constexpr std::string_view kAtlasHeader = "by duration for ARI (years):";
constexpr double kStormMinutes = 360;

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

bool StartsNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && EqualNoCase(text.substr(0, start.size()), start);
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
    if (EqualNoCase(text.substr(i, part.size()), part))
      return true;
  return false;
}

// A row label of an Atlas 14 table ("15-min:", "2-hr:", "10-day:") in minutes.
std::optional<double> LabelMinutes(std::string_view label) {
  std::size_t digits = 0;
  while (digits < label.size() && std::isdigit(static_cast<unsigned char>(label[digits])))
    ++digits;
  if (digits == 0 || digits > 6)
    return std::nullopt;
  const std::string_view unit = label.substr(digits);
  double perUnit = 0;
  if (EqualNoCase(unit, "-min:"))
    perUnit = 1;
  else if (EqualNoCase(unit, "-hr:"))
    perUnit = 60;
  else if (EqualNoCase(unit, "-day:"))
    perUnit = 1440;
  else
    return std::nullopt;
  const double count = *Number(label.substr(0, digits));
  return count > 0 ? std::optional<double>(count * perUnit) : std::nullopt;
}

class Reader {
 public:
  explicit Reader(const std::string& fileName) : shownName_(ShownText(fileName)) {}

  [[noreturn]] void Refuse(long line, const std::string& what) const {
    throw RainfallRefusal(shownName_ + ", line " + std::to_string(line) + ": " + what);
  }

  // What a column's depth is called in messages.
  std::string DepthName(std::size_t column) const {
    return returnPeriods_.empty()
               ? "the depth"
               : "the depth for ARI " + PlainNumber(returnPeriods_[column]) + " years";
  }

  // Checks and stores one row: its duration and a depth per column.
  void Row(const Line& line, std::string_view label, double minutes,
           const std::vector<std::string_view>& depths) {
    if (!minutes_.empty() && !(minutes > minutes_.back()))
      Refuse(line.Number, "the duration " + Quoted(label) + " (" + PlainNumber(minutes) +
                              " min) does not follow the " + PlainNumber(minutes_.back()) +
                              " min on line " + std::to_string(lastLine_) +
                              messages::kRainDurationOrderText);
    if (inches_.empty())
      inches_.resize(depths.size());
    for (std::size_t c = 0; c < depths.size(); ++c) {
      const std::optional<double> depth = Number(depths[c]);
      if (!depth)
        Refuse(line.Number,
               DepthName(c) + ", " + Quoted(depths[c]) + messages::kRainDepthNotNumberText);
      if (!(*depth > 0))
        Refuse(line.Number,
               DepthName(c) + ", " + Quoted(depths[c]) + messages::kRainDepthNotPositiveText);
      if (!inches_[c].empty() && !(*depth > inches_[c].back()))
        Refuse(line.Number, DepthName(c) + " at " + PlainNumber(minutes) + " min, " +
                                Quoted(depths[c]) + ", is not above the " +
                                PlainNumber(inches_[c].back()) + " in at " +
                                PlainNumber(minutes_.back()) + " min on line " +
                                std::to_string(lastLine_) + messages::kRainDepthOrderText);
      inches_[c].push_back(*depth);
    }
    minutes_.push_back(minutes);
    lastLine_ = line.Number;
  }

  void Finish(long headerLine) {
    if (minutes_.size() < 2)
      Refuse(headerLine, "the table under this header has " + Count(minutes_.size(), "row") +
                             messages::kRainFewRowsText);
    headerLine_ = headerLine;
  }

  void Plain(const std::vector<Line>& lines, std::size_t headerAt) {
    const Line& header = lines[headerAt];
    if (!(header.Fields.size() == 2 && header.Fields[0] == "duration_min" &&
          header.Fields[1] == "depth_in"))
      Refuse(header.Number, messages::kRainHeaderText + Quoted(header.Text) + ".");
    for (std::size_t i = headerAt + 1; i < lines.size(); ++i) {
      const Line& line = lines[i];
      if (line.Fields.size() != 2)
        Refuse(line.Number, Quoted(line.Text) + messages::kRainRowText);
      const std::optional<double> minutes = Number(line.Fields[0]);
      if (!minutes || !(*minutes > 0))
        Refuse(line.Number,
               "the duration " + Quoted(line.Fields[0]) + messages::kRainDurationNotNumberText);
      Row(line, line.Fields[0], *minutes, {line.Fields[1]});
    }
    Finish(header.Number);
  }

  void Atlas(const std::vector<Line>& lines, std::size_t headerAt) {
    const Line& header = lines[headerAt];
    std::unordered_set<double> seen;  // a header may name very many columns
    for (std::size_t i = 1; i < header.Fields.size(); ++i) {
      const std::optional<double> years = Number(header.Fields[i]);
      if (!years || !(*years > 0))
        Refuse(header.Number, "the return period " + Quoted(header.Fields[i]) +
                                  messages::kRainPeriodNotNumberText);
      if (!seen.insert(*years).second)
        Refuse(header.Number,
               "the return period " + Quoted(header.Fields[i]) + messages::kRainPeriodRepeatedText);
      returnPeriods_.push_back(*years);
    }
    if (returnPeriods_.empty())
      Refuse(header.Number, messages::kRainNoPeriodsText);
    // The table ends at the first blank line.
    for (std::size_t i = headerAt + 1;
         i < lines.size() && lines[i].Number == lines[i - 1].Number + 1; ++i) {
      const Line& line = lines[i];
      const std::optional<double> minutes = LabelMinutes(line.Fields[0]);
      if (!minutes)
        Refuse(line.Number, Quoted(line.Text) + messages::kRainAtlasRowText);
      if (line.Fields.size() - 1 != returnPeriods_.size())
        Refuse(line.Number, "the row has " + Count(line.Fields.size() - 1, "depth") +
                                "; the header on line " + std::to_string(header.Number) +
                                " names " + Count(returnPeriods_.size(), "return period") + ".");
      Row(line, line.Fields[0], *minutes, {line.Fields.begin() + 1, line.Fields.end()});
    }
    Finish(header.Number);
  }

  // The preamble before the estimates: refuses an export of intensities or of millimetres, which
  // would read as inches of depth.
  void Preamble(const std::vector<Line>& lines, std::size_t headerAt) const {
    for (std::size_t i = 0; i < headerAt; ++i) {
      const std::string_view text = Trim(lines[i].Text);
      const bool wrongType = StartsNoCase(text, "Data type:") && !ContainsNoCase(text, "depth");
      const bool wrongUnits = StartsNoCase(text, "Point precipitation frequency estimates") &&
                              !ContainsNoCase(text, "(inches)");
      if (wrongType || wrongUnits)
        Refuse(lines[i].Number, Quoted(text) + messages::kRainNotDepthsText);
    }
  }

  // The preamble's lines that say where the depths come from, joined: the atlas volume, then the
  // place and station it names, or its latitude and longitude when it names neither: "NOAA Atlas
  // 14 Volume 9 Version 2, Station Name: X".
  void Location(const std::vector<Line>& lines, std::size_t headerAt) {
    std::string volume;
    std::string places;
    std::string coordinates;
    // Each piece as a message may show it (a piece's length is bounded, not the whole).
    const auto join = [](std::string& to, std::string_view text) {
      if (!to.empty())
        to += ", ";
      to += ShownText(text);
    };
    for (std::size_t i = 0; i < headerAt; ++i) {
      const std::string_view text = Trim(lines[i].Text);
      if (volume.empty() && StartsNoCase(text, "NOAA Atlas 14"))
        join(volume, text);
      const std::size_t colon = text.find(':');
      if (colon == std::string_view::npos)
        continue;
      const std::string_view label = Trim(text.substr(0, colon));
      const std::string_view value = Trim(text.substr(colon + 1));
      if (value.empty() || StartsNoCase(value, "None"))
        continue;
      if (StartsNoCase(label, "Location name") || StartsNoCase(label, "Station Name"))
        join(places, text);
      else if (EqualNoCase(label, "Latitude") || EqualNoCase(label, "Longitude"))
        join(coordinates, text);
    }
    location_ = volume;
    if (!places.empty() || !coordinates.empty())
      location_ += (location_.empty() ? "" : ", ") + (places.empty() ? coordinates : places);
  }

  // What was read, once Plain or Atlas has returned.
  std::string location_;
  long headerLine_ = 0;
  std::vector<double> returnPeriods_;
  std::vector<double> minutes_;
  std::vector<std::vector<double>> inches_;

 private:
  std::string shownName_;
  long lastLine_ = 0;
};

}  // namespace

std::string RainfallTables::ReturnPeriodList() const {
  std::string list;
  for (const double years : returnPeriods_)
    list += (list.empty() ? "" : ", ") + PlainNumber(years);
  return ShownText(list);
}

DepthDurationTable RainfallTables::Table(std::optional<double> years,
                                         const std::string& ariName) const {
  const std::string where = ShownText(fileName_) + ", line " + std::to_string(headerLine_) + ": ";
  std::size_t column = 0;
  if (returnPeriods_.empty()) {
    if (years)
      throw RainfallUsageError(where + messages::kRainNoPeriodToGiveText + ariName + ".");
  } else if (!years) {
    if (returnPeriods_.size() > 1)
      throw RainfallUsageError(where + messages::kRainSeveralPeriodsText + ariName +
                               ", one of: " + ReturnPeriodList() + ".");
  } else {
    const auto found = std::find(returnPeriods_.begin(), returnPeriods_.end(), *years);
    if (found == returnPeriods_.end())
      throw RainfallUsageError(where + messages::kRainNoColumnText + PlainNumber(*years) +
                               " years; give " + ariName + ", one of: " + ReturnPeriodList() + ".");
    column = static_cast<std::size_t>(found - returnPeriods_.begin());
  }
  std::vector<DepthDuration> points;
  points.reserve(minutes_.size());
  for (std::size_t i = 0; i < minutes_.size(); ++i)
    points.push_back({minutes_[i], inches_[column][i]});
  return DepthDurationTable(std::move(points));
}

RainfallTables ReadRainfallTables(std::string_view text, const std::string& fileName) {
  Reader reader(fileName);
  const std::vector<Line> lines = SplitLines(text);
  for (const Line& line : lines)
    if (line.Text.find('\0') != std::string_view::npos)
      reader.Refuse(line.Number, messages::kRainNotTextText);
  if (lines.empty())
    throw RainfallRefusal(ShownText(fileName) + messages::kRainEmptyText);

  if (StartsNoCase(lines.front().Fields[0], "duration")) {
    reader.Plain(lines, 0);
  } else {
    const auto header = std::find_if(lines.begin(), lines.end(), [](const Line& line) {
      return EqualNoCase(line.Fields[0], kAtlasHeader);
    });
    if (header == lines.end())
      reader.Refuse(lines.front().Number, messages::kRainNoTableText);
    const auto headerAt = static_cast<std::size_t>(header - lines.begin());
    reader.Preamble(lines, headerAt);
    reader.Location(lines, headerAt);
    reader.Atlas(lines, headerAt);
  }
  RainfallTables tables;
  tables.fileName_ = fileName;
  tables.headerLine_ = reader.headerLine_;
  tables.returnPeriods_ = std::move(reader.returnPeriods_);
  tables.minutes_ = std::move(reader.minutes_);
  tables.inches_ = std::move(reader.inches_);
  tables.location_ = std::move(reader.location_);
  return tables;
}

std::optional<double> ParseReturnPeriod(std::string_view text) {
  const std::optional<double> years = Number(Trim(text));
  if (!years || !(*years > 0))
    return std::nullopt;
  return years;
}

std::optional<std::string> CoverageProblem(const DepthDurationTable& table,
                                           const std::string& fileName, double tc) {
  const double blocks = static_cast<double>(StormBlockCount(tc));
  const double longest = std::max(kStormMinutes, blocks * tc);
  if (table.Covers(tc, longest))
    return std::nullopt;
  return ShownText(fileName) + " does not cover durations from " + PlainNumber(tc) + " to " +
         PlainNumber(longest) + " minutes (it runs from " + PlainNumber(table.ShortestMinutes()) +
         " to " + PlainNumber(table.LongestMinutes()) +
         "): the table must include every duration from Tc to 6 hours.";
}

RainfallTables LoadRainfallTables(FileSystem& files, const std::string& path,
                                  const std::string& name) {
  bool truncated = false;
  const std::string text = files.ReadText(path, kRainfallMostBytes, truncated);
  if (truncated) {
    throw RainfallRefusal(ShownText(name) + ": more than " +
                          std::to_string(kRainfallMostBytes >> 20) + " MiB, " +
                          messages::kRainfallTooLargeText);
  }
  return ReadRainfallTables(text, name);
}

std::optional<double> TypedReturnPeriod(const std::string& ari, const std::string& ariName) {
  if (ari.empty())
    return std::nullopt;
  const std::optional<double> years = ParseReturnPeriod(ari);
  if (!years)
    throw RainfallUsageError(ariName + " " + Quoted(ari) + " is not a return period in years");
  return years;
}

std::shared_ptr<const TableRainfall> RainfallOf(const RainfallTables& tables,
                                                const std::string& path, const std::string& ari,
                                                std::optional<double> years,
                                                const std::string& ariName) {
  auto rainfall = std::make_shared<TableRainfall>(
      TableRainfall{tables.Table(years, ariName), tables.FileName(), ari, path, tables.Location()});
  if (ari.empty() && tables.ReturnPeriods().size() == 1)
    rainfall->Ari = PlainNumber(tables.ReturnPeriods().front());
  return rainfall;
}

std::shared_ptr<const TableRainfall> LoadRainfall(FileSystem& files, const std::string& path,
                                                  const std::string& name, const std::string& ari,
                                                  const std::string& ariName) {
  const std::optional<double> years = TypedReturnPeriod(ari, ariName);
  return RainfallOf(LoadRainfallTables(files, path, name), path, ari, years, ariName);
}

}  // namespace rh
