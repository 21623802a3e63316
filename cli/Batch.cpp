#include "Batch.h"

#include <algorithm>
#include <ostream>
#include <thread>

#include "Cli.h"
#include "app/Batch.h"
#include "core/Faults.h"
#include "platform/SystemClock.h"

namespace rh::cli {

int RunBatchCommand(const BatchCommand& command, std::ostream& out, std::ostream& err) {
  const std::string prefix = "rational-hydrograph-cli: ";
  BatchOptions options;
  options.OutDir = command.OutDir;
  while (options.OutDir.size() > 1 && options.OutDir.back() == '/')
    options.OutDir.pop_back();
  options.Hec1 = command.Hec1;
  options.SummaryOnly = command.SummaryOnly;
  options.Workers = std::max(1u, std::thread::hardware_concurrency());

  const std::unique_ptr<Clock> clock = MakeSystemClock();
  const auto onRow = [&](const BatchRow& row) {
    if (row.Status != RowStatus::Ok)
      err << prefix << RowProblem(row) << '\n';
  };
  BatchTally report;
  try {
    report = RunBatchFiles(command.CsvPath, options, *clock, onRow);
  } catch (const Fault& fault) {
    err << prefix << fault.what() << '\n';
    return kFault;
  }
  if (!report.TableProblem.empty()) {
    err << prefix << command.CsvPath << ", " << report.TableProblem << '\n';
    return kSomeRowsFailed;
  }
  const long total = report.Rows;
  out << total << " basins: " << total - report.Failed << " done, " << report.Failed
      << " failed; summary in " << BatchPath(options, "summary.csv") << '\n';
  return report.Failed == 0 ? kOk : kSomeRowsFailed;
}

}  // namespace rh::cli
