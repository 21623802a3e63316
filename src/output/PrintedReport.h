// The printed report of a run: title block, inputs and the time/discharge table.
#pragma once

#include "app/Init.h"
#include "platform/Clock.h"
#include "platform/PrintTarget.h"

namespace rh {

// Prints the run in `state` on `printer` and ends the document. A fault while printing aborts
// the job, so no partial report reaches the printer, and is raised to the caller.
void PrintReport(const Init& state, Printer& printer, Clock& clock);

}  // namespace rh
