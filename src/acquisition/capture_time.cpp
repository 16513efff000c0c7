#include "acquisition/capture_time.h"

#include <cmath>
#include <cstdio>

namespace qvx {

double captureSeconds(const Scope& s) {
  const double pointsPerSecond = 2 * s.RateMantissa * std::pow(10.0, 8 - s.RateCode);
  return s.SampleCount / pointsPerSecond;
}

std::string progressLine(double elapsed, double expected) {
  char text[48];
  std::snprintf(text, sizeof text, "  %.1f s of %.1f s", elapsed, expected);
  return text;
}

}  // namespace qvx
