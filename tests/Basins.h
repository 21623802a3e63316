// Basins for tests: the run inputs of one basin and its computed run, and the lines of CR LF text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Hydrograph.h"

namespace rh::test {

struct BasinInputs {
  double tc = 10;      // minutes
  double p6 = 2.5;     // inches
  double area = 100;   // acres
  double coef = 0.85;  // runoff coefficient
  double peak = 250;   // cfs
  bool hec1 = false;   // the ten-zero tail of a run that makes a HEC-1 deck
};

// The basin's run inputs, as the run request makes them.
inline RunInputs MakeBasin(const BasinInputs& b) {
  RunInputs in;
  in.TimeOfConcentration = b.tc;
  in.SixHourRainfall = b.p6;
  in.BasinArea = b.area;
  in.RunoffCoefficient = b.coef;
  in.PeakDischarge = b.peak;
  in.ZeroTail = b.hec1 ? kZeroTailHec1 : kZeroTail;
  return in;
}

// The hydrograph of `inputs`, and the run of `inputs`, as values.
inline RunResult Computed(const RunInputs& inputs) {
  RunResult result;
  ComputeHydrograph(inputs, result);
  return result;
}
inline Run ComputeRun(const RunInputs& inputs) {
  Run run;
  run.Inputs = inputs;
  ComputeHydrograph(inputs, run.Result);
  return run;
}

// The basin's computed run.
inline Run ComputedBasin(const BasinInputs& b) {
  return ComputeRun(MakeBasin(b));
}

// The lines of text whose every line ends in CR LF.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "the text must end with CR LF";
  return lines;
}

}  // namespace rh::test
