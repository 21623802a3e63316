// Floating-point steps that report invalid operations, division by zero and overflow as
// arithmetic faults instead of carrying NaN or infinity into the results.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/Faults.h"

namespace rh::checked {

[[noreturn]] inline void ThrowNonFinite(double value) {
  if (std::isnan(value))
    throw ArithmeticFault("Invalid floating-point operation.");
  throw ArithmeticFault("Overflow.");
}

inline double Result(double value) {
  // One test on the hot path; which fault it is gets sorted out only when it fires.
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  constexpr std::uint64_t kExponent = 0x7FF0000000000000;  // all ones: infinity or NaN
  if ((bits & kExponent) == kExponent)
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
    throw ArithmeticFault("Division by zero.");
  return Result(a / b);
}
inline double Pow(double base, double exponent) {
  return Result(std::pow(base, exponent));
}
inline double Floor(double value) {
  return Result(std::floor(value));
}

// floor(value x 10^d + 0.5) / 10^d: half-up rounding to d decimals (d = 1 or 4 here).
inline double RoundHalfUp(double value, double scale) {
  return Div(Floor(Add(Mul(value, scale), 0.5)), scale);
}

}  // namespace rh::checked
