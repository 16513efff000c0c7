#include "bode/multitone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qvx::bode {

namespace {
constexpr int kTonesPerDecade = 150;
constexpr int kRateSteps = 5;
}  // namespace

std::vector<TonePass> planTonePasses(const Plan& plan, float rateMantissa) {
  std::vector<TonePass> passes;
  const int topBin = kTonePeriod / kTonePointsPerCycle;
  double covered = 0;  // tones up to here are measured already
  double from = plan.start;
  while (from <= plan.stop) {
    int step = 0;
    for (int r = kRateSteps - 1; r >= 0; --r) {
      const double binHz = rateMantissa * 2000.0 * std::pow(10.0, r) / kTonePeriod;
      if (binHz <= from) {
        step = r;
        break;
      }
    }
    const double binHz = rateMantissa * 2000.0 * std::pow(10.0, step) / kTonePeriod;
    TonePass pass;
    pass.rateStep = step;
    const int lowest = std::max(1, static_cast<int>(std::ceil(from / binHz - 1e-9)));
    const int highest = std::min(topBin, static_cast<int>(std::floor(plan.stop / binHz + 1e-9)));
    for (int j = 0;; ++j) {
      const int bin =
          static_cast<int>(std::lround(lowest * std::pow(10.0, j / double(kTonesPerDecade))));
      if (bin > highest) break;
      if (bin * binHz <= covered) continue;
      if (pass.bins.empty() || bin > pass.bins.back()) pass.bins.push_back(bin);
    }
    if (!pass.bins.empty()) passes.push_back(pass);
    covered = topBin * binHz;
    from = std::nextafter(covered, plan.stop + 1);
    if (step == kRateSteps - 1) break;
  }
  return passes;
}

std::vector<int> multiToneTable(const TonePass& pass) {
  const auto n = static_cast<double>(pass.bins.size());
  std::vector<double> wave(static_cast<std::size_t>(pass.period), 0.0);
  for (std::size_t j = 0; j < pass.bins.size(); ++j) {
    const double phase =
        -std::numbers::pi * static_cast<double>(j) * static_cast<double>(j + 1) / n;
    const double w = 2 * std::numbers::pi * pass.bins[j] / pass.period;
    for (std::size_t i = 0; i < wave.size(); ++i)
      wave[i] += std::cos(w * static_cast<double>(i) + phase);
  }
  double peak = 0;
  for (double v : wave) peak = std::max(peak, std::abs(v));
  std::vector<int> codes;
  const std::size_t length = wave.size() * (kSettlingPeriods + kAnalysedPeriods) + kTailPoints;
  codes.reserve(length);
  for (std::size_t i = 0; i < length; ++i)
    codes.push_back(std::clamp(
        static_cast<int>(std::lround(2047.5 + 2047 * wave[i % wave.size()] / peak)), 0, 4095));
  return codes;
}

}  // namespace qvx::bode
