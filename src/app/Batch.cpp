#include "app/Batch.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "app/BasinCsv.h"
#include "app/Messages.h"
#include "app/RunRequest.h"
#include "output/TextForms.h"
#include "output/VolumeCheck.h"
#include "platform/Faults.h"

namespace rh {

namespace {

constexpr std::size_t kColumns = 6;

bool SafeNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Runs one well-formed row with a safe name; fills the row's status and figures.
void RunRow(const CsvRecord& record, const BatchOptions& options, const RunServices& services,
            BatchRow& row) {
  RunEntries entries;
  entries.TimeOfConcentration = record.Fields[1];
  entries.SixHourRainfall = record.Fields[2];
  entries.BasinArea = record.Fields[3];
  entries.RunoffCoefficient = record.Fields[4];
  entries.PeakDischarge = record.Fields[5];

  try {
    const RequestOutcome outcome =
        ParseRunEntries(entries, options.Hec1 ? kZeroTailHec1 : kZeroTail);
    if (const Refusal* refusal = std::get_if<Refusal>(&outcome)) {
      row.Status = RowStatus::Refused;
      row.Message = refusal->Title + ": " + refusal->Text;
      return;
    }
    OutputRequest request;
    if (options.Hec1)
      request.DeckPath = BatchPath(options, row.Name + ".hc1");
    if (!options.SummaryOnly)
      request.ListingPath = BatchPath(options, row.Name + ".txt");
    request.Check = true;  // the summary's volume
    const BasinRun basin = RunBasin(std::get<RunInputs>(outcome), request, services);
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
  } catch (const Fault& fault) {
    row.Status = RowStatus::Fault;
    row.Message = fault.what();
  }
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
  for (const char c : name) {
    if (!SafeNameChar(c))
      return false;
  }
  return true;
}

std::string RowProblem(const BatchRow& row) {
  return "row " + std::to_string(row.Row) + " (line " + std::to_string(row.Line) +
         "): " + row.Message;
}

std::string BatchPath(const BatchOptions& options, const std::string& fileName) {
  if (options.OutDir.empty())
    return fileName;
  return options.OutDir + "/" + fileName;
}

BatchReport RunBatch(std::string_view csvText, const BatchOptions& options,
                     const RunServices& services,
                     const std::function<void(const BatchRow&)>& onRow) {
  BatchReport report;
  CsvReader reader(csvText);
  CsvRecord record;

  bool headerOk = reader.Next(record) && record.Problem.empty() && record.Fields.size() == kColumns;
  if (headerOk) {
    std::string header;
    for (const std::string& field : record.Fields)
      header.append(header.empty() ? "" : ",").append(Lower(TrimSpaces(field)));
    headerOk = header == kBasinCsvHeader;
  }
  if (!headerOk) {
    report.TableProblem = "line " + std::to_string(record.Line == 0 ? 1 : record.Line) +
                          ": the first row must be the header " + std::string(kBasinCsvHeader);
    return report;
  }

  std::unordered_set<std::string> usedNames;  // lower case: names differing only in case clash
  long rowNumber = 0;
  while (reader.Next(record)) {
    BatchRow row;
    row.Row = ++rowNumber;
    row.Line = record.Line;
    // A record with bad quoting may have swallowed other rows into its first field.
    if (record.Problem.empty() && !record.Fields.empty())
      row.Name = TrimSpaces(record.Fields[0]);

    if (!record.Problem.empty()) {
      row.Status = RowStatus::Malformed;
      row.Message = record.Problem;
    } else if (record.Fields.size() != kColumns) {
      row.Status = RowStatus::Malformed;
      row.Message =
          std::to_string(record.Fields.size()) + " columns instead of " + std::to_string(kColumns);
    } else if (row.Name.empty()) {
      row.Status = RowStatus::BadName;
      row.Message = messages::kBatchNameEmpty;
    } else if (!SafeBasinName(row.Name)) {
      row.Status = RowStatus::BadName;
      row.Message = messages::kBatchNameUnsafe;
    } else if (!usedNames.insert(Lower(row.Name)).second) {
      row.Status = RowStatus::BadName;
      row.Message = messages::kBatchNameRepeated;
    } else {
      RunRow(record, options, services, row);
    }

    if (row.Status != RowStatus::Ok)
      ++report.Failed;
    if (onRow)
      onRow(row);
    report.Rows.push_back(std::move(row));
  }
  return report;
}

std::string SummaryCsv(const BatchReport& report) {
  std::string text = "name,status,ordinate_count,peak_index,peak_cfs,volume_acre_ft,message\n";
  text.reserve(text.size() + report.Rows.size() * 64);
  for (const BatchRow& row : report.Rows) {
    text.append(CsvField(row.Name)).push_back(',');
    text.append(RowStatusName(row.Status)).push_back(',');
    if (row.Status == RowStatus::Ok) {
      text.append(std::to_string(row.OrdinateCount)).push_back(',');
      text.append(std::to_string(row.PeakIndex)).push_back(',');
      text.append(PlainNumber(row.PeakCfs)).push_back(',');
      text.append(PlainNumber(row.VolumeAcreFeet)).push_back(',');
    } else {
      text.append(",,,,");
    }
    text.append(row.Status == RowStatus::Ok ? std::string() : CsvField(RowProblem(row)));
    text.push_back('\n');
  }
  return text;
}

namespace {

// Today's date, asked of the clock once for the whole batch.
class DateOnce final : public Clock {
 public:
  explicit DateOnce(Clock& clock) : clock_(clock) {}
  std::string ShortDate() override {
    if (date_.empty())
      date_ = clock_.ShortDate();
    return date_;
  }

 private:
  Clock& clock_;
  std::string date_;
};

}  // namespace

BatchReport RunBatchFiles(const std::string& csvPath, const BatchOptions& options, Clock& clock,
                          const std::function<void(const BatchRow&)>& onRow) {
  StdFileSystem files(StdFileSystem::Durability::Deferred);
  const std::string table = files.ReadText(csvPath);

  std::error_code error;
  std::filesystem::create_directories(options.OutDir, error);
  if (error || !std::filesystem::is_directory(options.OutDir)) {
    throw FileFault("Cannot create the folder " + options.OutDir + ": " +
                        (error ? error.message() : "a file of that name exists"),
                    options.OutDir);
  }

  DateOnce date(clock);
  BatchReport report = RunBatch(table, options, RunServices{files, date, nullptr}, onRow);
  if (!report.TableProblem.empty())
    return report;
  files.ReplaceText(BatchPath(options, "summary.csv"), SummaryCsv(report));
  files.SyncAll(options.OutDir);
  return report;
}

}  // namespace rh
