#include "sim/ticks.h"

#include <cmath>

namespace qvx::sim {

Ticks pointTicks(int rateCode, int modelCode) {
  // 20 M, 2 M, 200 k, 20 k, 2 k points a second.
  static constexpr Ticks kTicks[] = {150, 1'500, 15'000, 150'000, 1'500'000};
  if (rateCode < 1 || rateCode > 5) return 0;
  const Ticks t = kTicks[rateCode - 1];
  return modelCode >= 2 ? t * 2 / 3 : t;
}

Cycles cyclesAt(double frequency, Ticks t) {
  // t = q seconds + r ticks with 0 <= r < one second; the whole hertz of the frequency
  // are counted in integers, only its fraction in floating point.
  const std::int64_t q = floorDiv(t, kTicksPerSecond);
  const std::int64_t r = t - q * kTicksPerSecond;
  const double wholeHz = std::floor(frequency);
  const double fractionHz = frequency - wholeHz;
  const auto hz = static_cast<std::int64_t>(wholeHz);

  const std::int64_t inSecond = r * hz;  // below 9e18 for frequencies under 3 GHz
  std::int64_t whole = q * hz + inSecond / kTicksPerSecond;
  double fraction = static_cast<double>(inSecond % kTicksPerSecond) / kTicksPerSecond;

  const double slow = static_cast<double>(q) * fractionHz;
  const double slowWhole = std::floor(slow);
  whole += static_cast<std::int64_t>(slowWhole);
  fraction += (slow - slowWhole) + static_cast<double>(r) * fractionHz / kTicksPerSecond;
  const double carry = std::floor(fraction);
  whole += static_cast<std::int64_t>(carry);
  fraction -= carry;
  if (fraction >= 1) {  // rounding right below a whole cycle
    fraction = 0;
    ++whole;
  }
  return {whole, fraction};
}

}  // namespace qvx::sim
