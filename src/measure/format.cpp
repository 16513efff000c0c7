#include "measure/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qvx::measure {

std::string engineering(double value, const std::string& unit) {
  char text[48];
  if (!std::isfinite(value)) return "-";
  if (unit == "%" || unit.empty()) {
    std::snprintf(text, sizeof text, "%.1f %s", value, unit.c_str());
    return text;
  }
  static const char* const kPrefixes[] = {"p", "n", "u", "m", "", "k", "M", "G"};
  int step = 4;  // index of no prefix
  double shown = value;
  if (value != 0) {
    step += static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3));
    if (step < 0) step = 0;
    if (step > 7) step = 7;
    shown = value / std::pow(1000.0, step - 4);
  }
  // Four significant digits; a value that rounds up to 1000 moves to the next prefix.
  const double magnitude = std::fabs(shown);
  int decimals = magnitude >= 100 ? 1 : magnitude >= 10 ? 2 : 3;
  const double scale = std::pow(10, decimals);
  if (std::fabs(std::round(shown * scale) / scale) >= 1000 && step < 7) {
    ++step;
    shown /= 1000;
    decimals = 3;
  }
  std::snprintf(text, sizeof text, "%.*f %s%s", decimals, shown, kPrefixes[step], unit.c_str());
  return text;
}

std::string fileNumber(double value) {
  char text[64];
  const double magnitude = std::fabs(value);
  // Three decimals for volts, hertz and percent; small times need more to keep their
  // four significant digits.
  int decimals = 3;
  if (magnitude > 0 && magnitude < 1)
    decimals = std::min(12, 3 - static_cast<int>(std::floor(std::log10(magnitude))));
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace qvx::measure
