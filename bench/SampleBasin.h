// The benchmarks' basin: P6 2.5 in, A 100 acres, C 0.85, Qp 250 cfs, at a chosen Tc.
#pragma once

#include "engine/Hydrograph.h"

namespace rh::bench {

inline RunInputs SampleBasin(double tc, long zeroTail = kZeroTail) {
  RunInputs in;
  in.TimeOfConcentration = tc;
  in.SixHourRainfall = 2.5;
  in.BasinArea = 100;
  in.RunoffCoefficient = 0.85;
  in.PeakDischarge = 250;
  in.ZeroTail = zeroTail;
  return in;
}

// The run of `inputs`, computed.
inline Run ComputeRun(const RunInputs& inputs) {
  Run run;
  run.Inputs = inputs;
  ComputeHydrograph(inputs, run.Result);
  return run;
}

}  // namespace rh::bench
