#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

namespace qvx::sim {

// The instrument's time: whole ticks of a third of a nanosecond since the host clock's
// origin. Every point time of both models (50 ns ... 500 us, and two thirds of those on
// the faster model) and every nanosecond of the host's clock is a whole number of ticks,
// so sample instants, generator points and counter gates are exact integers however
// long the machine has been up (a signed 64-bit count lasts 97 years).
using Ticks = std::int64_t;
inline constexpr Ticks kTicksPerSecond = 3'000'000'000;
inline constexpr Ticks kTicksPerNanosecond = 3;
inline constexpr Ticks kNever = std::numeric_limits<Ticks>::max();

// The nearest tick to a time in seconds.
inline Ticks toTicks(double seconds) {
  return static_cast<Ticks>(std::llround(seconds * static_cast<double>(kTicksPerSecond)));
}

inline double seconds(Ticks t) {
  return static_cast<double>(t) / static_cast<double>(kTicksPerSecond);
}

// Ticks between two points at a rate code 1..5 (20 M ... 2 k points a second, 1.5 times
// as many on the faster model); 0 for any other code.
Ticks pointTicks(int rateCode, int modelCode);

// How many whole cycles of a wave of `frequency` Hz have passed at time t, and how far
// into the next one it is (0 <= fraction < 1). Exact for whole-hertz frequencies below
// 3 GHz; a fractional part of the frequency adds an error below a nanocycle per year.
struct Cycles {
  std::int64_t whole;
  double fraction;
};
Cycles cyclesAt(double frequency, Ticks t);

// a / b rounded towards minus infinity, for b > 0.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace qvx::sim
