#include "Batch.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "Cli.h"
#include "app/Batch.h"
#include "output/Hec1Deck.h"
#include "platform/Faults.h"
#include "platform/qt/QtClock.h"

namespace rh::cli {

int RunBatchCommand(const BatchCommand& command, std::ostream& out, std::ostream& err) {
  const std::string prefix = "rational-hydrograph-cli: ";
  StdFileSystem files(StdFileSystem::Durability::Deferred);
  std::string table;
  try {
    table = files.ReadText(command.CsvPath);
  } catch (const Fault& fault) {
    err << prefix << fault.what() << '\n';
    return kFault;
  }

  BatchOptions options;
  options.OutDir = command.OutDir;
  while (options.OutDir.size() > 1 && options.OutDir.back() == '/')
    options.OutDir.pop_back();
  options.Hec1 = command.Hec1;
  options.SummaryOnly = command.SummaryOnly;

  std::error_code error;
  std::filesystem::create_directories(options.OutDir, error);
  if (error || !std::filesystem::is_directory(options.OutDir)) {
    err << prefix << "Cannot create the folder " << options.OutDir << ": "
        << (error ? error.message() : "a file of that name exists") << '\n';
    return kFault;
  }

  QtClock clock;
  const DeckWriter writeDeck = [&clock](const Init& state, FileSystem& fs) {
    WriteHec1Deck(state, fs, clock);
  };
  const auto onRow = [&](const BatchRow& row) {
    if (row.Status != RowStatus::Ok)
      err << prefix << RowProblem(row) << '\n';
  };
  const BatchReport report = RunBatch(table, options, files, writeDeck, onRow);
  if (!report.TableProblem.empty()) {
    err << prefix << command.CsvPath << ", " << report.TableProblem << '\n';
    return kSomeRowsFailed;
  }

  const std::string summaryPath = BatchPath(options, "summary.csv");
  try {
    files.ReplaceText(summaryPath, SummaryCsv(report));
    files.SyncAll(options.OutDir);
  } catch (const Fault& fault) {
    err << prefix << fault.what() << '\n';
    return kFault;
  }

  const auto total = static_cast<long>(report.Rows.size());
  out << total << " basins: " << total - report.Failed << " done, " << report.Failed
      << " failed; summary in " << summaryPath << '\n';
  return report.Failed == 0 ? kOk : kSomeRowsFailed;
}

}  // namespace rh::cli
