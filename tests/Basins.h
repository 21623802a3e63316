// Basins for tests: the run inputs of one basin in a fresh state, and the lines of CR LF text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Init.h"
#include "engine/Hydrograph.h"

namespace rh::test {

struct BasinInputs {
  double tc = 10;      // minutes
  double p6 = 2.5;     // inches
  double area = 100;   // acres
  double coef = 0.85;  // runoff coefficient
  double peak = 250;   // cfs
  bool hec1 = false;   // HEC-1 switch
  std::string path;    // ReportPath
};

// A fresh state holding the basin's run inputs, as the run request leaves it.
inline Init MakeBasin(const BasinInputs& b) {
  Init s;
  s.Hec1Enabled = b.hec1 ? kTrue : kFalse;
  s.ReportPath = b.path;
  s.TimeOfConcentration = b.tc;
  s.SixHourRainfall = b.p6;
  s.BasinArea = b.area;
  s.RunoffCoefficient = b.coef;
  s.Discharge(1) = b.peak;
  return s;
}

// The same after the hydrograph has been computed.
inline Init ComputedBasin(const BasinInputs& b) {
  Init s = MakeBasin(b);
  ComputeHydrograph(s);
  return s;
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
