#include "output/PrintedReport.h"

#include "platform/Faults.h"

namespace rh {

void PrintReport(const Init&, Printer& printer, Clock&) {
  printer.AbortDoc();
  throw PrinterFault("The printed report is not built yet.");
}

}  // namespace rh
