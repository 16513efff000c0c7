#pragma once
#include <cmath>
#include <cstdint>
#include <string>

namespace qvx {

// Conversion to a whole-number field: nearest integer, halves to the even neighbour.
// Values beyond the range of long long saturate (converting them would be undefined),
// and NaN counts as 0.
inline long long saturatedWhole(double whole) {
  if (std::isnan(whole)) return 0;
  if (whole >= 9.2e18) return 9'200'000'000'000'000'000LL;
  if (whole <= -9.2e18) return -9'200'000'000'000'000'000LL;
  return static_cast<long long>(whole);
}
inline long long roundHalfEven(double v) {
  return saturatedWhole(std::nearbyint(v));
}

// The same, saturated to the 16-bit range the panel's small settings live in.
inline std::int16_t toInt16(double v) {
  long long r = roundHalfEven(v);
  if (r > 32767) r = 32767;
  if (r < -32768) r = -32768;
  return static_cast<std::int16_t>(r);
}

// Int(): the largest whole number not above v.
inline long long floorInt(double v) {
  return saturatedWhole(std::floor(v));
}

// A number as the panel prints it: shortest decimal form, a leading blank
// standing in for the sign of values of zero and above.
std::string numberText(double v);

// The same without the leading blank (Str$ trimmed).
std::string plainNumber(double v);

}  // namespace qvx
