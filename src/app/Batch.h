// Batch runs: one basin a row of a CSV table, each read as the entry boxes are read and run through
// the same run step, with a listing file (and optionally a HEC-1 deck) per basin and a summary
// table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/RunBasin.h"

namespace rh {

// The header row a basin table starts with.
constexpr std::string_view kBasinCsvHeader = "name,tc,rain,area,coef,peak";
constexpr std::size_t kMaxBasinNameLength = 100;

struct BatchOptions {
  std::string OutDir;        // folder for NAME.txt, NAME.hc1 and summary.csv (no trailing '/')
  bool Hec1 = false;         // runs with the HEC-1 switch on and writes NAME.hc1 decks
  bool SummaryOnly = false;  // writes no listing files (decks are still written with Hec1)
};

enum class RowStatus {
  Ok,
  BadName,    // empty, repeated or not a safe file name
  Refused,    // the run request refused the entries
  Fault,      // an arithmetic, subscript or file fault
  Malformed,  // wrong column count or bad quoting
};

// The summary's word for a status: ok, bad-name, refused, fault, malformed.
const char* RowStatusName(RowStatus status);

struct BatchRow {
  long Row = 0;   // data row, from 1 (the header is not counted)
  long Line = 0;  // line of the file where the row starts
  std::string Name;
  RowStatus Status = RowStatus::Ok;
  std::int32_t OrdinateCount = 0;  // index of the last reported ordinate
  std::int16_t PeakIndex = 0;
  double PeakCfs = 0;         // the peak ordinate, cfs
  double VolumeAcreFeet = 0;  // hydrograph runoff volume
  std::string Message;        // why the row failed; empty for ok rows
};

struct BatchReport {
  std::vector<BatchRow> Rows;
  long Failed = 0;  // rows whose status is not Ok
  // Non-empty when the table cannot be used at all (a missing or wrong header row).
  std::string TableProblem;
};

// True when `name` is a safe basin file name: 1..100 characters from [A-Za-z0-9._-], not
// starting with '.'.
bool SafeBasinName(std::string_view name);

// Runs every basin of `csvText`, writing its files through `services`. Each row is reported through
// `onRow` as soon as it is done (for messages), and collected in the report. Faults of one row
// never stop the others. The summary is not written here (see SummaryCsv).
BatchReport RunBatch(std::string_view csvText, const BatchOptions& options,
                     const RunServices& services,
                     const std::function<void(const BatchRow&)>& onRow = {});

// A whole batch as the companion runs it: reads the table at `csvPath`, creates the output folder
// when missing, runs every row (files reach the disk in one flush at the end) and writes
// summary.csv last. Raises FileFault when the table cannot be read or the folder or the summary
// cannot be written; a table without its header comes back as the report's TableProblem.
BatchReport RunBatchFiles(const std::string& csvPath, const BatchOptions& options, Clock& clock,
                          const std::function<void(const BatchRow&)>& onRow = {});

// summary.csv: name,status,ordinate_count,peak_index,peak_cfs,volume_acre_ft,message, LF line
// ends.
std::string SummaryCsv(const BatchReport& report);

// "row R (line L): message", how a failed row is reported.
std::string RowProblem(const BatchRow& row);

// The path of a file in the batch's output folder.
std::string BatchPath(const BatchOptions& options, const std::string& fileName);

}  // namespace rh
