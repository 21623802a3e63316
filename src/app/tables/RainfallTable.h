// Reading rainfall depth tables from files: NOAA Atlas 14 point precipitation-frequency exports
// (depths in inches, a column per return period) and plain two-column tables with the header
// duration_min,depth_in.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Faults.h"
#include "engine/Rainfall.h"
#include "platform/FileSystem.h"

namespace rh {

// The file cannot serve as a rainfall table (empty, not text, no table, a malformed row, a depth
// or duration out of order...). The companion refuses the run with this message, before anything
// is written. The message names the file and the line.
class RainfallRefusal : public Refused {
 public:
  explicit RainfallRefusal(const std::string& text)
      : Refused(messages::kRainfallTableTitle, text, RunEntry::RainfallTable) {}
};

// The run asks the file for a column it cannot give: several return periods and none chosen, one
// the file does not hold, or one given for a table without return periods. The file is fine; the
// command line needs changing. The message lists the return periods the file holds.
class RainfallUsageError : public UsageError {
 public:
  explicit RainfallUsageError(const std::string& text) : UsageError(text, RunEntry::ReturnPeriod) {}
};

// The depth tables of one file.
class RainfallTables {
 public:
  const std::string& FileName() const { return fileName_; }
  // The return periods (years) of the columns in file order; empty for a plain table.
  const std::vector<double>& ReturnPeriods() const { return returnPeriods_; }
  // The return periods for a message: "1, 2, 5, 10" (at most 80 characters, then "...").
  std::string ReturnPeriodList() const;
  // Durations of the rows, minutes.
  const std::vector<double>& Minutes() const { return minutes_; }
  // Where the depths are for: the preamble's location name, station name, latitude and longitude
  // that are given ("Latitude: 26.6 Degree, Longitude: -81.9 Degree"); "" for a plain table.
  const std::string& Location() const { return location_; }

  // The table of the column for `years`. No return period is needed when the file holds one
  // column; with several, `years` picks one by value (100 and 100.0 are the same). Throws
  // RainfallUsageError when none is given for several columns, when no column has that return
  // period, and when one is given for a plain table, which does not say its return period; the
  // message calls the return period's source `ariName` ("--ari", "the ari column").
  DepthDurationTable Table(std::optional<double> years, const std::string& ariName = "--ari") const;

 private:
  friend RainfallTables ReadRainfallTables(std::string_view text, const std::string& fileName);
  std::string fileName_;
  long headerLine_ = 0;
  std::vector<double> returnPeriods_;
  std::vector<double> minutes_;
  std::vector<std::vector<double>> inches_;  // one vector of depths per column
  std::string location_;
};

// Reads the tables in `text`, the contents of the file `fileName` (used in messages only).
//
// A NOAA Atlas 14 export: the first table under a line "by duration for ARI (years):, 1,2,..."
// holds the estimates; its rows "N-min:", "N-hr:" or "N-day:" give a depth for each return period,
// and it ends at the first blank line. Everything else (the preamble, the confidence bounds that
// follow with the same header, the date line) is ignored, except that a preamble naming another
// data type than depth, or other units than inches, is refused, and its location lines are kept.
// A plain table: the header duration_min,depth_in on the first line that is not blank, then rows
// of two numbers.
// Lines may end in LF, CR LF or CR; a UTF-8 byte-order mark at the start is ignored; spaces around
// fields and trailing empty fields (as spreadsheets write them) are ignored.
//
// Throws RainfallRefusal when the text is empty or not text, holds no table or a wrong header, or a
// row that is malformed, has a duration that does not increase down the table, or a depth that is
// not a number, not positive or not above the depth of the row before; and when the table has
// fewer than two rows. Messages quote at most 80 characters of any text from the file.
RainfallTables ReadRainfallTables(std::string_view text, const std::string& fileName);

// The most a rainfall table file may hold, bytes: an Atlas 14 export is about 4 KiB.
constexpr std::size_t kRainfallMostBytes = std::size_t{1} << 20;

// The tables of the file at `path`, read through `files` (`name` is how messages call it).
// FileFault when the file cannot be read, RainfallRefusal when it holds no usable table or more
// than kRainfallMostBytes (read no further).
RainfallTables LoadRainfallTables(FileSystem& files, const std::string& path,
                                  const std::string& name);

// The rainfall of a run from the table file at `path` (read through `files`; `name` is how messages
// and outputs call it) and the return period `ari` as typed ("" for none). FileFault when the file
// cannot be read, RainfallRefusal when it holds no usable table or more than kRainfallMostBytes
// (read no further), RainfallUsageError when `ari` is not a return period or does not pick a
// column (its message calls the return period's source `ariName`). The table's only return
// period, when it has one and none was typed, becomes the run's.
std::shared_ptr<const TableRainfall> LoadRainfall(FileSystem& files, const std::string& path,
                                                  const std::string& name, const std::string& ari,
                                                  const std::string& ariName = "--ari");

// The return period `ari` as typed, nothing when it is "". RainfallUsageError when it is not a
// return period (the message calls its source `ariName`).
std::optional<double> TypedReturnPeriod(const std::string& ari,
                                        const std::string& ariName = "--ari");

// The rainfall of a run from `tables`, read from the file at `path`, for the return period `ari`
// as typed and `years` as TypedReturnPeriod reads it. RainfallUsageError as LoadRainfall.
std::shared_ptr<const TableRainfall> RainfallOf(const RainfallTables& tables,
                                                const std::string& path, const std::string& ari,
                                                std::optional<double> years,
                                                const std::string& ariName = "--ari");

// A return period as typed on the command line: a decimal number above 0 ("100", "100.0", "2.33");
// nothing for anything else.
std::optional<double> ParseReturnPeriod(std::string_view text);

// Nothing when `table` holds every duration a run with time of concentration `tc` (minutes) uses:
// n x Tc for n = 1..N, N = floor(360 / Tc + 0.5), and the 6 hours of the design storm, that is Tc
// to max(360, N x Tc). Otherwise the message that says so, naming the file `fileName`.
// Throws what StormBlockCount throws for a Tc that gives no block count.
std::optional<std::string> CoverageProblem(const DepthDurationTable& table,
                                           const std::string& fileName, double tc);

}  // namespace rh
