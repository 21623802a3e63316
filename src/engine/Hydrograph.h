// Design-storm runoff hydrograph by the rational method.
#pragma once

#include "app/Init.h"

namespace rh {

// Computes the distributed hydrograph from the run inputs of `state`.
//
// Inputs: TimeOfConcentration (Tc, minutes, a whole number >= 5), SixHourRainfall (P6, inches),
// BasinArea (A, acres), RunoffCoefficient (C), Discharge(1) (the peak discharge Qp, cfs) and
// Hec1Enabled (selects the zero tail).
//
// Intensities for durations n x Tc come from the County of San Diego chart,
// I = 7.44 P6 D^-0.645 (in/hr, D in minutes); block n's discharge is C x (its rainfall depth as
// an intensity over Tc) x A, rounded half up to 0.1 cfs. The peak block sits at
// floor(2N/3 + 1.5); the other blocks alternate two before the peak for each one after it. A zero
// tail of one ordinate (ten with the HEC-1 switch on) follows the last ordinate that holds a
// block, so no block is dropped and the peak is never overwritten.
//
// Writes Intensity, RainIncrement, Discharge(2..300), the whole Hydrograph, OrdinateCount (the
// last reported ordinate) and PeakIndex. Throws ArithmeticFault on an invalid operation, division
// by zero or overflow (zero area or coefficient, extreme values); the arrays then keep what the
// steps so far wrote.
void ComputeHydrograph(Init& state);

// N, the number of Tc blocks in the 6-hour storm: floor(360 / Tc + 0.5). Throws ArithmeticFault
// for Tc = 0 and SubscriptFault when N would not fit the ordinate arrays.
long StormBlockCount(double tc);

// The chart's average intensity over a duration, in/hr: 7.44 P6 D^-0.645 (P6 inches, D minutes).
double ChartIntensity(double sixHourRainfall, double minutes);

// The chart's rainfall depth over a duration, inches: I x D / 60 = 7.44 P6 D^0.355 / 60.
double ChartDepth(double sixHourRainfall, double minutes);

}  // namespace rh
