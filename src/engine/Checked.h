// Floating-point steps that report invalid operations, division by zero and overflow as
// arithmetic faults instead of carrying NaN or infinity into the results.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Faults.h"

namespace rh::checked {

// True for an infinity or a NaN: one test of the exponent bits.
inline bool NonFinite(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  constexpr std::uint64_t kExponent = 0x7FF0000000000000;  // all ones: infinity or NaN
  return (bits & kExponent) == kExponent;
}

[[noreturn]] inline void ThrowNonFinite(double value) {
  if (std::isnan(value))
    throw ArithmeticFault(messages::kInvalidOperationText);
  throw ArithmeticFault(messages::kOverflowText);
}

inline double Result(double value) {
  // One test on the hot path; which fault it is gets sorted out only when it fires.
  if (NonFinite(value))
    ThrowNonFinite(value);
  return value;
}

inline double Add(double a, double b) {
  return Result(a + b);
}
inline double Sub(double a, double b) {
  return Result(a - b);
}
inline double Mul(double a, double b) {
  return Result(a * b);
}
inline double Div(double a, double b) {
  if (b == 0.0)
    throw ArithmeticFault(messages::kDivisionByZeroText);
  return Result(a / b);
}
inline double Pow(double base, double exponent) {
  return Result(std::pow(base, exponent));
}
inline double Floor(double value) {
  return Result(FloorOf(value));
}

// Half-up rounding to 1 / `scale` (a positive power of ten), faulting when it is not a number.
// Of its steps, value x scale + 0.5, the floor and the division by the scale, only the
// multiplication can leave the range of a double, so a test of the result raises the fault the
// checked steps would meet first.
inline double RoundHalfUp(double value, double scale) {
  return Result(rh::RoundedHalfUp(value, scale, WholeAtScale::Computed));
}

// The checked steps, and the same steps unchecked, as types, for a loop written once and run either
// way: unchecked for speed, its results tested as a whole; checked again only when a result is not
// a number, to raise exactly the fault the checked steps meet first.
struct CheckedSteps {
  static double Add(double a, double b) { return checked::Add(a, b); }
  static double Sub(double a, double b) { return checked::Sub(a, b); }
  static double Mul(double a, double b) { return checked::Mul(a, b); }
  static double Div(double a, double b) { return checked::Div(a, b); }
  static double Pow(double a, double b) { return checked::Pow(a, b); }
  static double RoundHalfUp(double v, double scale) { return checked::RoundHalfUp(v, scale); }
};

struct PlainSteps {
  static double Add(double a, double b) { return a + b; }
  static double Sub(double a, double b) { return a - b; }
  static double Mul(double a, double b) { return a * b; }
  static double Div(double a, double b) { return a / b; }
  static double Pow(double a, double b) { return std::pow(a, b); }
  static double RoundHalfUp(double v, double scale) {
    return RoundedHalfUp(v, scale, WholeAtScale::Computed);
  }
};

}  // namespace rh::checked
