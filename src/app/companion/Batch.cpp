#include "app/companion/Batch.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/companion/OrderedPool.h"
#include "app/run/PreparedRun.h"
#include "app/tables/BasinCsv.h"
#include "app/tables/FileCache.h"
#include "app/tables/PondFile.h"
#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "output/PondReport.h"
#include "platform/Paths.h"

namespace rh {

namespace {

constexpr std::size_t kRowsPerJob = 256;  // rows handed to a thread at a time
constexpr std::size_t kMessageMost = 1000;

bool SafeNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The safe names used so far, compared regardless of case (they would clash on case-insensitive
// disks). Kept compactly, about 20 bytes a name: the names one after another in one text, and an
// open-addressed table of where each starts.
class NameSet {
 public:
  // Adds `name`; false when it was there already.
  bool Insert(std::string_view name) {
    if ((count_ + 1) * 2 > slots_.size())
      Grow();
    const std::uint64_t hash = Hash(name);
    std::size_t i = hash & (slots_.size() - 1);
    for (; slots_[i] != 0; i = (i + 1) & (slots_.size() - 1)) {
      if (Equal(slots_[i] - 1, name))
        return false;
    }
    slots_[i] = names_.size() + 1;
    for (const char c : name)
      names_.push_back(Lower(c));
    names_.push_back('\0');
    ++count_;
    return true;
  }

 private:
  static std::uint64_t Hash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (const char c : name)
      hash = (hash ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ULL;
    return hash;
  }
  bool Equal(std::size_t at, std::string_view name) const {
    for (const char c : name) {
      if (names_[at++] != Lower(c))
        return false;
    }
    return names_[at] == '\0';
  }
  void Grow() {
    std::vector<std::size_t> slots(std::max<std::size_t>(1024, slots_.size() * 2), 0);
    for (const std::size_t slot : slots_) {
      if (slot == 0)
        continue;
      const std::string_view name(names_.data() + slot - 1);
      std::size_t i = Hash(name) & (slots.size() - 1);
      while (slots[i] != 0)
        i = (i + 1) & (slots.size() - 1);
      slots[i] = slot;
    }
    slots_ = std::move(slots);
  }

  std::string names_;               // each name in lower case, ended by '\0'
  std::vector<std::size_t> slots_;  // 1 + where a name starts in names_; 0 for a free slot
  std::size_t count_ = 0;
};

// Where a table's columns are: name,tc,rain,area,coef,peak are 0 to 5; the optional ones follow
// in any order.
struct Columns {
  std::size_t count = 0;
  std::optional<std::size_t> rainfall, ari, pond;
};

// The columns of a header row; none when it is not a basin table's header.
std::optional<Columns> HeaderColumns(const std::vector<std::string>& fields) {
  Columns columns;
  columns.count = fields.size();
  std::string base;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string name;
    for (const char c : TrimSpaces(fields[i]))
      name.push_back(Lower(c));
    if (i < 6) {
      base.append(i == 0 ? "" : ",").append(name);
      continue;
    }
    std::optional<std::size_t>* column = name == "rainfall" ? &columns.rainfall
                                         : name == "ari"    ? &columns.ari
                                         : name == "pond"   ? &columns.pond
                                                            : nullptr;
    if (column == nullptr || *column)
      return std::nullopt;
    *column = i;
  }
  if (base != kBasinCsvHeader)
    return std::nullopt;
  return columns;
}

// What a row is, decided in the table's order before it runs: malformed, a bad name, or to run.
void Classify(const CsvRecord& record, std::size_t columns, NameSet& usedNames, BatchRow& row) {
  // A record with bad quoting may have swallowed other rows into its first field.
  if (record.Problem.empty() && !record.Fields.empty())
    row.Name = TrimSpaces(record.Fields[0]);
  const auto badName = [&](const char* what) {
    row.Status = RowStatus::BadName;
    row.Message = "the basin name " + Quoted(row.Name) + " " + what;
    row.Name = ShownText(row.Name);
  };
  if (!record.Problem.empty()) {
    row.Status = RowStatus::Malformed;
    row.Message = record.Problem;
  } else if (record.Fields.size() != columns) {
    row.Status = RowStatus::Malformed;
    row.Message =
        std::to_string(record.Fields.size()) + " columns instead of " + std::to_string(columns);
    row.Name = ShownText(row.Name);  // whatever its first field held
  } else if (row.Name.empty()) {
    row.Status = RowStatus::BadName;
    row.Message = messages::kBatchNameEmpty;
  } else if (!SafeBasinName(row.Name)) {
    badName(messages::kBatchNameUnsafe);
  } else if (!usedNames.Insert(row.Name)) {
    badName(messages::kBatchNameRepeated);
  }
}

// The rainfall and pond tables a batch's rows name (relative to the basin table's folder), each
// file read once while it stays among the few hundred kept: a table is refused for every row that
// names it, with the same message.
class TableFiles {
 public:
  TableFiles(FileSystem& files, std::string folder) : files_(files), folder_(std::move(folder)) {}

  // The rainfall table of `file` and `ari`; nothing, and the refusal's message, when it cannot
  // serve.
  std::shared_ptr<const TableRainfall> Rainfall(const std::string& file, const std::string& ari,
                                                std::string& problem) {
    return Taken(rainfalls_.Get(file + '\n' + ari,
                                [&] {
                                  return Read([&] {
                                    return LoadRainfall(files_, PathInFolder(folder_, file), file,
                                                        ari, "the ari column");
                                  });
                                }),
                 problem);
  }

  // The pond table of `file`, as above.
  std::shared_ptr<const TablePond> Pond(const std::string& file, std::string& problem) {
    return Taken(ponds_.Get(file,
                            [&] {
                              return Read([&] {
                                return LoadPond(files_, PathInFolder(folder_, file), file);
                              });
                            }),
                 problem);
  }

 private:
  template <typename Table>
  struct Entry {
    std::shared_ptr<const Table> table;
    std::string problem;
  };

  template <typename Load>
  static auto Read(const Load& load) -> Entry<typename decltype(load())::element_type> {
    try {
      return {load(), {}};
    } catch (const std::exception& fault) {
      const FaultReport report = ReportFault(fault);
      if (report.Kind == FaultKind::OutOfMemory)
        throw;  // out of memory is no fault of the table
      return {nullptr, report.Text};
    }
  }

  template <typename Table>
  static std::shared_ptr<const Table> Taken(Entry<Table> entry, std::string& problem) {
    problem = std::move(entry.problem);
    return entry.table;
  }

  FileSystem& files_;
  std::string folder_;
  FileCache<Entry<const TableRainfall>> rainfalls_{256};
  FileCache<Entry<const TablePond>> ponds_{256};
};

// The tables a row names and how its peak is chosen, found as the table is read.
struct RowTables {
  std::shared_ptr<const TableRainfall> rainfall;
  std::shared_ptr<const TablePond> pond;
  bool chartPeak = false;  // an empty peak cell: the chart's peak
};

// The row's tables: its rainfall table, if any, and the chart's peak for an empty peak cell, and
// its pond. A table that cannot serve, or a rain cell beside a rainfall table, refuses the row.
void ChooseTables(const CsvRecord& record, const Columns& columns, TableFiles& files, BatchRow& row,
                  RowTables& tables) {
  const auto cell = [&](std::optional<std::size_t> column) {
    return column ? TrimSpaces(record.Fields[*column]) : std::string();
  };
  tables.chartPeak = cell(5).empty();
  row.Pond = cell(columns.pond);
  if (!row.Pond.empty()) {
    std::string problem;
    tables.pond = files.Pond(row.Pond, problem);
    if (!tables.pond) {
      row.Status = RowStatus::Refused;
      row.Message = std::string(messages::kPondTableTitle) + ": " + problem;
      return;
    }
  }
  row.Rainfall = cell(columns.rainfall);
  row.Ari = cell(columns.ari);
  switch (StormChoiceOf(!cell(2).empty(), !row.Rainfall.empty(), !row.Ari.empty())) {
    case StormChoiceProblem::RainAndTable:
      row.Status = RowStatus::Refused;
      row.Message = std::string(messages::kRainfallTableTitle) + messages::kBatchRainAndTableText;
      return;
    case StormChoiceProblem::PeriodsWithoutTable:
      row.Status = RowStatus::Refused;
      row.Message =
          std::string(messages::kRainfallTableTitle) + messages::kBatchAriWithoutTableText;
      return;
    case StormChoiceProblem::None:
      break;
  }
  if (row.Rainfall.empty())
    return;
  std::string problem;
  tables.rainfall = files.Rainfall(row.Rainfall, row.Ari, problem);
  if (!tables.rainfall) {
    row.Status = RowStatus::Refused;
    row.Message = std::string(messages::kRainfallTableTitle) + ": " + problem;
    return;
  }
  row.Ari = tables.rainfall->Ari;
}

// What every row of a batch shares: its options, the basin table it comes from, and the services.
struct BatchContext {
  const BatchOptions& options;
  NamedPath table;
  const RunServices& services;
  const OutputGuard& guard;
};

std::string LowerCase(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    c = Lower(c);
  return lower;
}

// Why the row may not write `name` in the output folder (its `what`, "listing"), or "" when it
// may: the name is a table the batch reads, or a link. Names in the folder hold no separator, so
// no path is resolved here: the guard was found once, before the first row.
std::string GuardedName(const OutputGuard& guard, const char* what, const std::string& name) {
  if (guard.Tables.empty() && guard.Links.empty())
    return {};
  const std::string lower = LowerCase(name);
  if (const auto table = guard.Tables.find(lower); table != guard.Tables.end()) {
    return std::string("the ") + what + " would replace the " + table->second.What + " " +
           Quoted(table->second.Path) + messages::kBatchReplacesTableText;
  }
  if (guard.Links.count(lower) != 0)
    return Quoted(name) + messages::kBatchLinkText;
  return {};
}

// Runs one well-formed row with a safe name through the run step; fills the row's status and
// figures. `basin` is the thread's run, reused from row to row.
void RunRow(CsvRecord& record, const RowTables& tables, const BatchContext& batch, BasinRun& basin,
            BatchRow& row) {
  const BatchOptions& options = batch.options;
  RunEntries entries;
  entries.TimeOfConcentration = std::move(record.Fields[1]);
  entries.SixHourRainfall = std::move(record.Fields[2]);
  entries.BasinArea = std::move(record.Fields[3]);
  entries.RunoffCoefficient = std::move(record.Fields[4]);
  entries.PeakDischarge = std::move(record.Fields[5]);
  RunChoices choices;
  choices.Rainfall = tables.rainfall;
  choices.Pond = tables.pond;
  choices.ChartPeak = tables.chartPeak;
  choices.Hec1 = options.Hec1;
  if (options.Hec1)
    choices.DeckPath = BatchPath(options, row.Name + ".hc1");
  if (!options.SummaryOnly)
    choices.Outputs.push_back({OutputKind::Listing, BatchPath(options, row.Name + ".txt")});
  choices.RouteStepMinutes = options.RouteStepMinutes;
  choices.Check = true;  // the summary's volume
  choices.OtherFiles.push_back(batch.table);
  choices.FilesChecked = true;  // against the guard, below
  const std::pair<const char*, std::string> written[] = {
      {"HEC-1 deck", options.Hec1 ? row.Name + ".hc1" : std::string()},
      {"listing", options.SummaryOnly ? std::string() : row.Name + ".txt"}};
  for (const auto& [what, name] : written) {
    std::string problem = name.empty() ? std::string() : GuardedName(batch.guard, what, name);
    if (!problem.empty()) {
      row.Status = RowStatus::Refused;
      row.Message = std::move(problem);
      return;
    }
  }
  try {
    const PreparedRun prepared = PrepareRun(entries, choices, batch.services.files);
    row.SixHourRainfall = prepared.Inputs.SixHourRainfall;
    row.PeakDischarge = prepared.Inputs.PeakDischarge;
    RunBasin(prepared.Inputs, prepared.Request, batch.services, basin);
    if (basin.Failure) {
      row.Status = RowStatus::Fault;
      row.Message = basin.Failure->Message;
      return;
    }
    const RunResult& r = basin.Run.Result;
    row.OrdinateCount = r.OrdinateCount;
    row.PeakIndex = r.PeakIndex;
    row.PeakCfs = r.Hydrograph(r.PeakIndex);
    row.VolumeAcreFeet = basin.Check->HydrographAcreFeet;
    if (const auto& p = basin.Run.Routing) {
      row.Routed = static_cast<const RoutingFigures&>(*p);
    }
  } catch (const std::exception& fault) {
    const FaultReport report = ReportFault(fault);
    // Out of memory is no fault of the row: it stops the batch.
    if (report.Kind == FaultKind::OutOfMemory)
      throw;
    row.Status = report.IsRefusal() ? RowStatus::Refused : RowStatus::Fault;
    row.Message = report.Line();
  }
}

// A run of consecutive rows: read and classified by the reading thread, run by a worker, then
// reported in order by the reading thread.
struct Job {
  std::vector<CsvRecord> records;
  std::vector<RowTables> tables;
  std::vector<BatchRow> rows;
  std::size_t count = 0;  // rows in use
  std::string summary;    // their summary lines
};

void RunJob(Job& job, const BatchContext& batch, BasinRun& basin) {
  job.summary.clear();
  for (std::size_t i = 0; i < job.count; ++i) {
    BatchRow& row = job.rows[i];
    if (row.Status == RowStatus::Ok)
      RunRow(job.records[i], job.tables[i], batch, basin, row);
    AppendSummaryLine(job.summary, row);
  }
}

// Adds to `inputs` the rainfall and pond tables the rows of the basin table `table` (at
// `tablePath`) name, each once, as the rows find them. A table without its header adds none (no
// row runs); malformed rows add none of theirs.
void CollectTables(ByteReader& table, const std::string& tablePath,
                   std::vector<NamedPath>& inputs) {
  CsvReader reader(table, tablePath);
  CsvRecord record;
  std::optional<Columns> columns;
  if (reader.Next(record) && record.Problem.empty())
    columns = HeaderColumns(record.Fields);
  if (!columns)
    return;
  const std::string folder = FolderPart(tablePath);
  std::unordered_set<std::string> named;
  while (reader.Next(record)) {
    if (!record.Problem.empty() || record.Fields.size() != columns->count)
      continue;
    for (const auto& [column, what] :
         {std::pair{columns->rainfall, "rainfall table"}, std::pair{columns->pond, "pond table"}}) {
      if (!column)
        continue;
      std::string file = TrimSpaces(record.Fields[*column]);
      if (!file.empty() && named.insert(file).second)
        inputs.push_back({what, PathInFolder(folder, file)});
    }
  }
}

// What the rows of a batch may not write in `folder`: the names of `inputs` there (found by the
// file each name is, and for a table not yet made by its name), and the links. Removes the
// temporary files a killed batch left there on the way: the folder is locked, so no other batch
// is writing them.
OutputGuard GuardOf(FileSystem& files, const std::string& folder,
                    const std::vector<NamedPath>& inputs,
                    const std::unordered_map<std::string, std::size_t>& inputIds) {
  OutputGuard guard;
  for (const FolderEntry& entry : files.ListFolder(folder)) {
    if (entry.link) {
      guard.Links.insert(LowerCase(entry.name));
      continue;
    }
    if (entry.identity.empty())
      continue;
    if (const auto input = inputIds.find(entry.identity); input != inputIds.end())
      guard.Tables.emplace(LowerCase(entry.name), inputs[input->second]);
    else if (BatchTemporaryName(entry.name))
      files.Remove(PathInFolder(folder, entry.name));
  }
  for (const auto& [id, i] : inputIds) {
    const std::string name = inputs[i].Path.substr(FolderPart(inputs[i].Path).size());
    if (!name.empty() && files.FileIdentity(PathInFolder(folder, name)) == id)
      guard.Tables.emplace(LowerCase(name), inputs[i]);
  }
  return guard;
}

}  // namespace

const char* RowStatusName(RowStatus status) {
  switch (status) {
    case RowStatus::Ok:
      return "ok";
    case RowStatus::BadName:
      return "bad-name";
    case RowStatus::Refused:
      return "refused";
    case RowStatus::Fault:
      return "fault";
    case RowStatus::Malformed:
      return "malformed";
  }
  return "fault";
}

bool SafeBasinName(std::string_view name) {
  if (name.empty() || name.size() > kMaxBasinNameLength || name.front() == '.')
    return false;
  return std::all_of(name.begin(), name.end(), SafeNameChar);
}

bool BatchTemporaryName(std::string_view name) {
  constexpr std::size_t kSuffix = 6;  // the random letters and digits
  if (name.size() < kSuffix + 3 || name.front() != '.' || name[name.size() - kSuffix - 1] != '.')
    return false;
  const std::string_view suffix = name.substr(name.size() - kSuffix);
  if (!std::all_of(suffix.begin(), suffix.end(),
                   [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
    return false;
  const std::string_view target = name.substr(1, name.size() - kSuffix - 2);
  if (target == "summary.csv")
    return true;
  const std::size_t dot = target.size() < 4 ? 0 : target.size() - 4;
  const std::string_view extension = target.substr(dot);
  return (extension == ".txt" || extension == ".hc1") && SafeBasinName(target.substr(0, dot));
}

std::string RowProblem(const BatchRow& row) {
  return "row " + std::to_string(row.Row) + " (line " + std::to_string(row.Line) +
         "): " + row.Message;
}

std::string BatchPath(const BatchOptions& options, const std::string& fileName) {
  return PathInFolder(options.OutDir, fileName);
}

void AppendSummaryLine(std::string& out, const BatchRow& row) {
  const SpacedUnitWords units(kTextUnits);
  out += CsvField(row.Name);
  out += ',';
  out += RowStatusName(row.Status);
  out += ',';
  if (row.Status == RowStatus::Ok) {
    out += std::to_string(row.OrdinateCount);
    out += ',';
    out += std::to_string(row.PeakIndex);
    out += ',';
    AppendPlainNumber(out, row.PeakCfs);
    out += ',';
    if (std::isfinite(row.VolumeAcreFeet))  // a volume beyond the check has no figure
      AppendPlainNumber(out, RoundedHalfUp(row.VolumeAcreFeet, 10000));
    out += ',';
    // A run whose pond overtops is a result, not a failure: its message says so.
    if (row.Routed && row.Routed->Overtopped) {
      const RoutingFigures& p = *row.Routed;
      std::string overtopped = "OVERTOPPED: ";
      AppendPlainNumber(overtopped, RoundedHalfUp(p.OverflowAcreFeet, 1000));
      overtopped += units.AcreFeet + " over the top, peak ";
      AppendPlainNumber(overtopped, RoundedHalfUp(p.OverflowPeakCfs, 10));
      overtopped += units.Cfs + ", from ";
      AppendPlainNumber(overtopped, p.OverflowStartMinutes);
      overtopped += " to ";
      AppendPlainNumber(overtopped, p.OverflowEndMinutes);
      overtopped += units.Minutes;
      out += CsvField(overtopped);
    }
  } else {
    out += ",,,,";
    out += CsvField(ShownText(RowProblem(row), kMessageMost));
  }
  out += ',';
  out += row.Rainfall.empty() ? std::string("chart") : CsvField(ShownText(row.Rainfall));
  out += ',';
  out += CsvField(ShownText(row.Ari));
  out += ',';
  if (row.Status == RowStatus::Ok) {
    AppendPlainNumber(out, row.SixHourRainfall);
    out += ',';
    AppendPlainNumber(out, row.PeakDischarge);
  } else {
    out += ',';
  }
  out += ',';
  out += CsvField(ShownText(row.Pond));
  if (row.Status == RowStatus::Ok && row.Routed) {
    const RoutingFigures& p = *row.Routed;
    for (const double figure :
         {RoundedHalfUp(p.PeakOutflowCfs, 10), p.PeakOutflowMinutes,
          RoundedHalfUp(p.MaxStorageAcreFeet, 1000), RoundedHalfUp(p.MaxStageFeet, 100)}) {
      out += ',';
      AppendPlainNumber(out, figure);
    }
    out += ',';
    if (p.DrainMinutes)
      AppendPlainNumber(out, *p.DrainMinutes);
  } else {
    out += ",,,,,";
  }
  out += '\n';
}

BatchTally RunBatch(ByteReader& table, const BatchOptions& options, const RunServices& services,
                    const std::function<void(const BatchRow&)>& onRow,
                    const std::function<void(std::string_view)>& summary,
                    const OutputGuard& guard) {
  const std::string& tablePath = options.Table;
  BatchTally tally;
  CsvReader reader(table, tablePath);
  CsvRecord record;

  std::optional<Columns> columns;
  if (reader.Next(record) && record.Problem.empty())
    columns = HeaderColumns(record.Fields);
  if (!columns) {
    tally.TableProblem = "line " + std::to_string(record.Line == 0 ? 1 : record.Line) +
                         ": the first row must be the header " + std::string(kBasinCsvHeader) +
                         " (the columns " + std::string(kBasinCsvOptionalColumns) +
                         " may follow, in any order)";
    return tally;
  }
  if (summary)
    summary(kSummaryHeader);

  // The date is the same for every row, and the clock is asked on this thread alone.
  // Today's date for every row: asked of the clock once, before the rows run on several threads.
  FixedClock date(options.Hec1 ? services.clock.ShortDate() : std::string());
  const RunServices rowServices{services.files, date, services.devices};
  const BatchContext batch{options, {"basin table", tablePath}, rowServices, guard};

  NameSet usedNames;
  TableFiles tableFiles(services.files, FolderPart(tablePath));
  long rowNumber = 0;
  // Reads up to a job's worth of rows; false when the table is exhausted.
  const auto fill = [&](Job& job) {
    job.count = 0;
    while (job.count < kRowsPerJob) {
      if (job.records.size() <= job.count) {
        job.records.emplace_back();
        job.tables.emplace_back();
        job.rows.emplace_back();
      }
      CsvRecord& next = job.records[job.count];
      if (!reader.Next(next))
        break;
      BatchRow& row = job.rows[job.count];
      row = BatchRow{};
      row.Row = ++rowNumber;
      row.Line = next.Line;
      Classify(next, columns->count, usedNames, row);
      job.tables[job.count] = RowTables{};
      if (row.Status == RowStatus::Ok)
        ChooseTables(next, *columns, tableFiles, row, job.tables[job.count]);
      ++job.count;
    }
    return job.count > 0;
  };
  const auto report = [&](Job& job) {
    for (std::size_t i = 0; i < job.count; ++i) {
      ++tally.Rows;
      if (job.rows[i].Status != RowStatus::Ok)
        ++tally.Failed;
      if (onRow)
        onRow(job.rows[i]);
    }
    if (summary && !job.summary.empty())
      summary(job.summary);
  };

  const unsigned workerCount =
      options.Workers != 0 ? options.Workers : std::max(1u, std::thread::hardware_concurrency());
  // A few jobs per thread in flight: the threads never wait for the reader, and memory stays the
  // same however long the table is. Each thread reuses its run from row to row.
  std::vector<Job> jobs(workerCount <= 1 ? 1 : static_cast<std::size_t>(workerCount) * 3);
  std::vector<BasinRun> basins(workerCount);
  RunInOrder(
      workerCount, jobs.size(), [&](std::size_t slot) { return fill(jobs[slot]); },
      [&](std::size_t slot, unsigned thread) { RunJob(jobs[slot], batch, basins[thread]); },
      [&](std::size_t slot) { report(jobs[slot]); });
  return tally;
}

BatchTally RunBatchFiles(const BatchOptions& options, const RunServices& services,
                         const std::function<void(const BatchRow&)>& onRow) {
  FileSystem& files = services.files;
  const std::string& tablePath = options.Table;
  const std::string summaryPath = BatchPath(options, "summary.csv");
  const std::unique_ptr<ByteReader> table = files.OpenRead(tablePath);
  files.MakeFolder(options.OutDir);

  // Every table the batch reads, each by the file it is, before anything is written.
  std::vector<NamedPath> inputs{{"basin table", tablePath}};
  CollectTables(*files.OpenRead(tablePath), tablePath, inputs);
  std::unordered_map<std::string, std::size_t> inputIds;  // a table's identity, and which it is
  for (std::size_t i = 0; i < inputs.size(); ++i)
    inputIds.emplace(files.FileIdentity(inputs[i].Path), i);
  // The summary, and the removal of an earlier one, may land on none of them.
  if (const auto clash = inputIds.find(files.FileIdentity(summaryPath)); clash != inputIds.end()) {
    const NamedPath& input = inputs[clash->second];
    if (clash->second == 0)
      throw UsageError("the summary " + Quoted(summaryPath) + messages::kSummaryOnTableText);
    throw UsageError("the summary " + Quoted(summaryPath) + " would replace the " + input.What +
                     " " + Quoted(input.Path) + messages::kSummaryOnReadTableText);
  }
  // One batch at a time in a folder, so a summary never describes another batch's files.
  const std::unique_ptr<FolderLock> lock = files.LockFolder(options.OutDir);
  const OutputGuard guard = GuardOf(files, options.OutDir, inputs, inputIds);
  if (guard.Links.count("summary.csv") != 0)
    throw UsageError("the summary " + Quoted(summaryPath) + messages::kBatchLinkText);

  // The summary of an earlier batch goes before the first row of this one is written; the new one
  // takes its name only once every row is done.
  std::unique_ptr<FileWriter> summaryFile;
  std::string pending;
  const auto summary = [&](std::string_view text) {
    if (!summaryFile) {
      files.Remove(summaryPath);
      summaryFile = files.BeginReplace(summaryPath);
    }
    pending.append(text);
    if (pending.size() >= 65536) {
      summaryFile->Write(pending);
      pending.clear();
    }
  };
  BatchTally tally = RunBatch(*table, options, services, onRow, summary, guard);
  if (!tally.TableProblem.empty())
    return tally;
  summaryFile->Write(pending);
  summaryFile->Commit();
  files.SyncAll(options.OutDir);
  return tally;
}

}  // namespace rh
