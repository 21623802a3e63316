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
// The same number as std::floor, without a library call on processors whose baseline instruction
// set has no rounding instruction: below 2^52 a double may have a fraction, which the conversion to
// an integer drops toward zero; from 2^52 up every double is whole already (and an infinity or a
// NaN passes through).
inline double FloorOf(double value) {
  constexpr double kWhole = 4503599627370496.0;  // 2^52
  if (!(std::fabs(value) < kWhole))
    return value;
  const double truncated = static_cast<double>(static_cast<std::int64_t>(value));
  return truncated > value ? truncated - 1 : truncated;
}

inline double Floor(double value) {
  return Result(FloorOf(value));
}

// floor(value x 10^d + 0.5) / 10^d: half-up rounding to d decimals (d = 1 or 4 here).
inline double RoundHalfUp(double value, double scale) {
  return Div(Floor(Add(Mul(value, scale), 0.5)), scale);
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
  static double RoundHalfUp(double v, double scale) { return FloorOf(v * scale + 0.5) / scale; }
};

}  // namespace rh::checked
