// The HEC-1 input deck of a run: KK, KM, BA, IN and QI records.
#pragma once

#include <string>

#include "app/Init.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace rh {

// The deck text for the run in `state` (after ComputeHydrograph), dated `date`. Lines end in
// CR LF and numbers always use "." as decimal point. Throws ArithmeticFault when the start time
// overflows a 16-bit HHMM.
std::string Hec1DeckText(const Init& state, const std::string& date);

// Writes the deck to ReportPath as a whole: an earlier file there is replaced only when the new
// deck is complete. Faults (file or arithmetic) reach the caller with nothing written.
void WriteHec1Deck(const Init& state, FileSystem& files, Clock& clock);

}  // namespace rh
