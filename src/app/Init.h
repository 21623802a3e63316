// The program's global state: the run inputs, the four ordinate arrays and their counters, the
// file paths and the file-selection state. The program holds exactly one instance for its whole
// run; every run overwrites it in place.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace rh {

// Booleans are 16-bit with true = -1.
using Boolean16 = std::int16_t;
constexpr Boolean16 kTrue = -1;
constexpr Boolean16 kFalse = 0;

constexpr std::int32_t kMaxOrdinates = 300;

// An ordinate array indexed 0..MaxOrdinates. Every access is checked: an index outside the bounds
// raises SubscriptFault.
class OrdinateArray {
 public:
  double& operator()(long index) {
    if (index < 0 || index > kMaxOrdinates)
      ThrowSubscript(index);
    return values_[static_cast<std::size_t>(index)];
  }
  double operator()(long index) const {
    if (index < 0 || index > kMaxOrdinates)
      ThrowSubscript(index);
    return values_[static_cast<std::size_t>(index)];
  }
  // Sets entries first..MaxOrdinates to `value`.
  void FillFrom(long first, double value) {
    (*this)(first);  // bounds check of the first entry; the rest follow it
    std::fill(values_.begin() + first, values_.end(), value);
  }

 private:
  [[noreturn]] static void ThrowSubscript(long index);
  std::array<double, kMaxOrdinates + 1> values_{};
};

struct Init {
  // Feature switch for the HEC-1 deck: path entry, settings write-back, ten-zero tail, deck.
  Boolean16 Hec1Enabled = kFalse;

  std::string InstallDir;     // program folder, ending with the path separator
  std::string SetupFileName;  // settings file name inside InstallDir
  std::string LicensePath;    // licence text shown by the licence viewer
  std::string LogoPath;       // logo picture on the main screen
  std::string ReportPath;     // HEC-1 deck path: settings file at start-up, then the path box
  std::int32_t MaxOrdinates = kMaxOrdinates;
  std::array<std::string, 6>
      FilePatterns;          // wildcard patterns offered by the file dialog, slots 1..5
  std::string LastDrive;     // last drive chosen in the file dialog
  std::string LastDir;       // last directory chosen in the file dialog
  std::string SelectedPath;  // last path chosen in the file dialog

  // Run inputs. The peak discharge (cfs) has no field of its own: it is Discharge(1).
  double TimeOfConcentration = 0;  // Tc, minutes (a whole number >= 5 when a run computes)
  double SixHourRainfall = 0;      // P6, inches
  double BasinArea = 0;            // A, acres
  double RunoffCoefficient = 0;    // C, dimensionless

  OrdinateArray Intensity;      // in/hr over a duration of n x Tc
  OrdinateArray RainIncrement;  // inches of rain added between (n-1) x Tc and n x Tc
  OrdinateArray Discharge;      // cfs, block discharges in computation order; entry 1 = peak
  OrdinateArray Hydrograph;     // cfs at time n x Tc

  std::int32_t OrdinateCount = 0;  // index of the last reported ordinate
  std::int16_t PeakIndex = 0;      // position of the peak in Hydrograph
};

// The program folder layout and the first values of the state, before the settings file is read.
// `installDir` ends with the host's path separator; `root` is the file system root the file
// dialog starts on.
void InitializeState(Init& state, bool hec1Enabled, const std::string& installDir,
                     const std::string& root);

}  // namespace rh
