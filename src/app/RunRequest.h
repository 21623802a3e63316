// Turning the six entry texts of the main screen into a run.
#pragma once

#include <functional>
#include <string>

#include "app/Init.h"

namespace rh {

// The entry boxes of a run, as typed.
struct RunEntries {
  std::string Path;                 // HEC-1 deck path box
  std::string TimeOfConcentration;  // minutes
  std::string SixHourRainfall;      // inches
  std::string BasinArea;            // acres
  std::string RunoffCoefficient;    // dimensionless
  std::string PeakDischarge;        // cfs
};

// What a run request needs from the screens around it.
struct RunRequestOps {
  // A modal warning message box with an exclamation icon and an OK button.
  std::function<void(const std::string& title, const std::string& text)> ShowWarning;
  // Writes the settings file (the windowed program: WriteSettings; the command line: nothing).
  std::function<void()> WriteSettings;
  // Loads and shows the results screen modally; returns when it has been closed.
  std::function<void()> ShowResultsModal;
};

// Checks the entries, stores them in the run inputs and opens the results screen. A blank entry or
// a time of concentration below 5 minutes (after rounding) is refused with one warning. Faults
// from Val (an entry beyond the double range) and from the operations reach the caller.
void RequestRun(Init& state, const RunEntries& entries, const RunRequestOps& ops);

// The text with leading and trailing spaces removed (tabs stay).
std::string TrimSpaces(const std::string& text);

}  // namespace rh
