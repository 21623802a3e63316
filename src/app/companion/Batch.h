// Batch runs: one basin a row of a CSV table, each read as the entry boxes are read and run through
// the same run step, with a listing file (and optionally a HEC-1 deck) per basin and a summary
// table. The table is read and the summary written as the rows go, so a batch of any length runs
// in the same memory, and the rows run on several threads while their results keep the table's
// order.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/run/PreparedRun.h"
#include "app/run/RunBasin.h"

namespace rh {

// The header row a basin table starts with; the optional columns may follow in any order: rainfall
// and ari (a rainfall table instead of the county chart, and its return period) and pond (a pond
// table to route the hydrograph through).
constexpr std::string_view kBasinCsvHeader = "name,tc,rain,area,coef,peak";
constexpr std::string_view kBasinCsvOptionalColumns = "rainfall, ari and pond";
constexpr std::size_t kMaxBasinNameLength = 100;
// The first line of summary.csv.
constexpr std::string_view kSummaryHeader =
    "name,status,ordinate_count,peak_index,peak_cfs,volume_acre_ft,message,rainfall,ari,p6_in,"
    "qp_cfs,pond,peak_out_cfs,peak_out_min,max_storage_acft,max_stage_ft,drain_min\n";

// What a batch is asked to do.
struct BatchOptions {
  std::string Table;          // the basin table
  std::string OutDir;         // the folder of its files
  bool Hec1 = false;          // the HEC-1 switch: a deck per basin besides its listing
  bool SummaryOnly = false;   // summary.csv alone
  long RouteStepMinutes = 1;  // the routing step of rows with a pond
  unsigned Workers = 0;       // threads that run rows; 0: one per core
};

// What the output folder holds that no row may write, found before the first write. Names are kept
// in lower case and compared regardless of case (they would clash on case-insensitive disks).
struct OutputGuard {
  // A name in the folder that is a table the batch reads, and that table as the batch names it.
  std::unordered_map<std::string, NamedPath> Tables;
  // The names in the folder that are links: a file written there would land wherever it leads.
  std::unordered_set<std::string> Links;
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
  // The basin's name; for a row refused for its name or malformed, the name as a message shows it
  // (valid UTF-8, at most 80 characters).
  std::string Name;
  RowStatus Status = RowStatus::Ok;
  std::int32_t OrdinateCount = 0;  // index of the last reported ordinate
  std::int16_t PeakIndex = 0;
  double PeakCfs = 0;          // the peak ordinate, cfs
  double VolumeAcreFeet = 0;   // hydrograph runoff volume
  std::string Message;         // why the row failed; empty for ok rows
  std::string Rainfall;        // the row's rainfall table as given; "" for the county chart
  std::string Ari;             // the table's return period as given (or its only one)
  double SixHourRainfall = 0;  // P6 used, inches
  double PeakDischarge = 0;    // Qp used, cfs
  std::string Pond;            // the row's pond table as given; "" for none
  // When the row's hydrograph was routed through its pond: what the routing found (not its steps,
  // which the summary does not need).
  std::optional<RoutingFigures> Routed;
};

struct BatchTally {
  long Rows = 0;
  long Failed = 0;  // rows whose status is not Ok
  // Non-empty when the table cannot be used at all (a missing or wrong header row); then no row
  // ran and nothing was written.
  std::string TableProblem;
};

// True when `name` is a safe basin file name: 1..100 characters from [A-Za-z0-9._-], not
// starting with '.'.
bool SafeBasinName(std::string_view name);

// Runs every basin of the table read from `table` (the file options.Table; its rows' rainfall and
// pond files are found beside it) as `options` say (the output folder, the HEC-1 decks, summary
// only, the routing step, the threads), writing its files through `services`. Rows reach `onRow` in
// the table's order as they are done (for messages); the summary's text (kSummaryHeader first, then
// one line a row in the same order) reaches `summary` in pieces, the header only once the table's
// header row is known to be right. A row whose file `guard` names fails with nothing written.
// Faults of one row never stop the others; a FileFault from `table` or from `summary` stops the
// batch and reaches the caller.
BatchTally RunBatch(ByteReader& table, const BatchOptions& options, const RunServices& services,
                    const std::function<void(const BatchRow&)>& onRow,
                    const std::function<void(std::string_view)>& summary,
                    const OutputGuard& guard = OutputGuard());

// A whole batch as the companion runs it, the table at options.Table: makes the output folder when
// missing, collects every table the rows read (one pass over the table), locks the folder against
// a second batch and removes the temporary files a killed batch left there, finds which of its
// names are those tables or links (no row writes them), reads the table again as the rows go,
// removes a stale summary.csv before the first row and writes the new one last, then flushes
// everything to the disk once, all through services.files. Raises FileFault when the table
// cannot be read, the folder cannot be made or is in use, or the summary cannot be written, and
// UsageError when the summary would replace a table the batch reads; a table without its header
// comes back as the TableProblem.
BatchTally RunBatchFiles(const BatchOptions& options, const RunServices& services,
                         const std::function<void(const BatchRow&)>& onRow = {});

// The summary line of `row`, with its line feed: valid UTF-8 CSV whatever the table held.
void AppendSummaryLine(std::string& out, const BatchRow& row);

// True when `name` is a temporary file a batch's writes make in its folder and a killed batch
// leaves behind: ".NAME.XXXXXX" for summary.csv and a basin's .txt and .hc1 files, XXXXXX six
// letters or digits.
bool BatchTemporaryName(std::string_view name);

// "row R (line L): message", how a failed row is reported.
std::string RowProblem(const BatchRow& row);

// The path of a file in the batch's output folder, joined with the separator the folder uses.
std::string BatchPath(const BatchOptions& options, const std::string& fileName);

}  // namespace rh
