#include "Batch.h"

#include <ostream>

#include "Cli.h"
#include "app/Batch.h"
#include "platform/Faults.h"
#include "platform/qt/QtClock.h"

namespace rh::cli {

int RunBatchCommand(const BatchCommand& command, std::ostream& out, std::ostream& err) {
  const std::string prefix = "rational-hydrograph-cli: ";
  BatchOptions options;
  options.OutDir = command.OutDir;
  while (options.OutDir.size() > 1 && options.OutDir.back() == '/')
    options.OutDir.pop_back();
  options.Hec1 = command.Hec1;
  options.SummaryOnly = command.SummaryOnly;

  QtClock clock;
  const auto onRow = [&](const BatchRow& row) {
    if (row.Status != RowStatus::Ok)
      err << prefix << RowProblem(row) << '\n';
  };
  BatchReport report;
  try {
    report = RunBatchFiles(command.CsvPath, options, clock, onRow);
  } catch (const Fault& fault) {
    err << prefix << fault.what() << '\n';
    return kFault;
  }
  if (!report.TableProblem.empty()) {
    err << prefix << command.CsvPath << ", " << report.TableProblem << '\n';
    return kSomeRowsFailed;
  }
  const auto total = static_cast<long>(report.Rows.size());
  out << total << " basins: " << total - report.Failed << " done, " << report.Failed
      << " failed; summary in " << BatchPath(options, "summary.csv") << '\n';
  return report.Failed == 0 ? kOk : kSomeRowsFailed;
}

}  // namespace rh::cli
