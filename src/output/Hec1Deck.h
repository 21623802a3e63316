// The HEC-1 input deck of a run: KK, KM, BA, IN and QI records.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Hydrograph.h"

namespace rh {

// The deck of `run` to be written at `deckPath` (its station name is the path's file name), dated
// `date`. Lines end in CR LF and numbers always use "." as decimal point. Throws ArithmeticFault
// when the start time overflows a 16-bit HHMM, and FileFault when the file name holds a control
// character (it would break the KK record).
std::string Hec1DeckText(const Run& run, const std::string& deckPath, const std::string& date);

// Clock time HHMM of the first ordinate, on a day whose storm starts at 12:00, for a time of
// concentration `tc` (minutes) and the peak at ordinate `peakIndex`. The peak block is centred on
// the 4-hour point, half a Tc after the start of its block. Computed in 16-bit integers as HEC-1
// reads it: long storms give negative times (Tc 720 -> -200) and an HH x 100 beyond the 16-bit
// range (Tc beyond four weeks) raises ArithmeticFault.
std::int16_t Hec1StartTime(double tc, std::int16_t peakIndex);

// The station name of the KK record: the final name part of `path`, after the last "\" or "/"
// ("C:\RUNS\RUN1.HC1" -> "RUN1.HC1"); a path without separators is used whole.
std::string Hec1StationName(const std::string& path);

// True when the station name of a deck at `path` holds a control character (a line break, a
// tab...): HEC-1 reads the deck record by record, one a line, so it would break the KK record.
bool Hec1StationNameBreaksRecord(const std::string& path);

// Basin area for the BA record: `acres` in square miles, rounded half up to 4 decimals.
double Hec1AreaSquareMiles(double acres);

}  // namespace rh
