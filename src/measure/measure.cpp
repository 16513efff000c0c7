#include "measure/measure.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qvx::measure {

namespace {

constexpr int kTopCode = 4095;
// Below this many codes between lowest and highest point a signal is taken as flat, as
// the frequency readout over the display takes it.
constexpr int kFlatCodes = 10;
// A spectral peak below 1 % of the largest is leakage and noise, not a line of the signal.
constexpr int kLeastPeak = kTopCode / 100 + 1;

// Where a line from a (at index i - 1) to b (at i) meets `level`, as a fractional index.
double crossingAt(std::size_t i, double a, double b, double level) {
  return static_cast<double>(i - 1) + (level - a) / (b - a);
}

// The edges of a capture: where each full transition passed 50 %, and how long it took
// from 10 % to 90 % (rising) or 90 % to 10 % (falling), in samples.
struct Edges {
  std::vector<double> riseMid, riseTime, fallMid, fallTime;
};

Edges findEdges(std::span<const std::int16_t> x, double lo, double mid, double hi) {
  Edges e;
  enum class Side { Unknown, Low, High } side = Side::Unknown;
  if (x[0] <= lo) side = Side::Low;
  if (x[0] >= hi) side = Side::High;
  // Crossings of the levels on the way to the other side, kept until it is reached.
  double at10 = -1, at50 = -1, at90 = -1;
  for (std::size_t i = 1; i < x.size(); ++i) {
    const double a = x[i - 1], b = x[i];
    if (b > a) {
      if (a < lo && b >= lo) at10 = crossingAt(i, a, b, lo);
      if (a < mid && b >= mid) at50 = crossingAt(i, a, b, mid);
      if (side != Side::High && a < hi && b >= hi) {
        if (side == Side::Low && at10 >= 0 && at50 >= 0) {
          e.riseMid.push_back(at50);
          e.riseTime.push_back(crossingAt(i, a, b, hi) - at10);
        }
        side = Side::High;
        at90 = at10 = at50 = -1;
      }
    } else if (b < a) {
      if (a > hi && b <= hi) at90 = crossingAt(i, a, b, hi);
      if (a > mid && b <= mid) at50 = crossingAt(i, a, b, mid);
      if (side != Side::Low && a > lo && b <= lo) {
        if (side == Side::High && at90 >= 0 && at50 >= 0) {
          e.fallMid.push_back(at50);
          e.fallTime.push_back(crossingAt(i, a, b, lo) - at90);
        }
        side = Side::Low;
        at90 = at10 = at50 = -1;
      }
    }
  }
  return e;
}

double average(const std::vector<double>& v) {
  double sum = 0;
  for (double d : v) sum += d;
  return sum / static_cast<double>(v.size());
}

// The high share of each whole cycle that starts with a rise, or with a fall when no
// rise has a whole cycle after it; negative when there is no whole cycle.
double dutyShare(const Edges& e) {
  double high = 0, total = 0;
  for (std::size_t i = 0; i + 1 < e.riseMid.size(); ++i) {
    const double start = e.riseMid[i], end = e.riseMid[i + 1];
    const auto fall = std::upper_bound(e.fallMid.begin(), e.fallMid.end(), start);
    if (fall == e.fallMid.end() || *fall >= end) continue;
    high += *fall - start;
    total += end - start;
  }
  if (total > 0) return high / total;
  for (std::size_t i = 0; i + 1 < e.fallMid.size(); ++i) {
    const double start = e.fallMid[i], end = e.fallMid[i + 1];
    const auto rise = std::upper_bound(e.riseMid.begin(), e.riseMid.end(), start);
    if (rise == e.riseMid.end() || *rise >= end) continue;
    high += end - *rise;
    total += end - start;
  }
  return total > 0 ? high / total : -1;
}

Reading none(const char* why) {
  return {0, why};
}

void setAll(WaveReadings& r, const char* why, bool levelsToo) {
  for (Reading* q : {&r.freq, &r.period, &r.duty, &r.rise, &r.fall}) *q = none(why);
  if (levelsToo)
    for (Reading* q : {&r.vpp, &r.max, &r.min, &r.mean, &r.rms, &r.acRms}) *q = none(why);
}

}  // namespace

WaveReadings measureWave(const Trace& t) {
  WaveReadings r;
  const auto x = t.codes;
  if (x.size() < 2) {
    setAll(r, "no data", true);
    return r;
  }
  const auto [lowIt, highIt] = std::minmax_element(x.begin(), x.end());
  const double low = *lowIt, high = *highIt;
  const bool clipped = !t.digital && (low <= 0 || high >= kTopCode);
  const double swing = high - low;

  const auto volts = [&t](double code) { return (code - t.zeroCode) * t.voltsPerCode; };
  if (clipped) {
    for (Reading* q : {&r.vpp, &r.max, &r.min, &r.mean, &r.rms, &r.acRms}) *q = none("clipped");
  } else {
    r.vpp = {swing * t.voltsPerCode, {}};
    r.max = {volts(high), {}};
    r.min = {volts(low), {}};
  }
  if (swing < kFlatCodes) {
    setAll(r, "flat", false);
    if (clipped) return r;
  }

  Edges e;
  if (swing >= kFlatCodes)
    e = findEdges(x, low + 0.1 * swing, low + 0.5 * swing, low + 0.9 * swing);
  const std::vector<double>& cycleEdges = e.riseMid.size() >= 2 ? e.riseMid : e.fallMid;
  const bool cycles = cycleEdges.size() >= 2;

  if (!clipped) {
    // Mean and RMS over whole cycles, so a part cycle at either end does not bias them.
    std::size_t first = 0, end = x.size();
    if (cycles) {
      first = static_cast<std::size_t>(std::lround(cycleEdges.front()));
      end = static_cast<std::size_t>(std::lround(cycleEdges.back()));
    }
    double sum = 0, squares = 0;
    for (std::size_t i = first; i < end; ++i) {
      const double v = x[i] - t.zeroCode;
      sum += v;
      squares += v * v;
    }
    const double n = static_cast<double>(end - first);
    const double mean = sum / n, meanSquare = squares / n;
    r.mean = {mean * t.voltsPerCode, {}};
    r.rms = {std::sqrt(meanSquare) * t.voltsPerCode, {}};
    r.acRms = {std::sqrt(std::max(0.0, meanSquare - mean * mean)) * t.voltsPerCode, {}};
  }
  if (swing < kFlatCodes) return r;

  if (cycles) {
    const double samples =
        (cycleEdges.back() - cycleEdges.front()) / static_cast<double>(cycleEdges.size() - 1);
    r.period = {samples / t.sampleRate, {}};
    r.freq = {t.sampleRate / samples, {}};
  } else {
    r.period = r.freq = none("<2 edges");
  }
  const double duty = dutyShare(e);
  r.duty = duty >= 0 ? Reading{100 * duty, {}} : none("<2 edges");
  if (t.digital) {
    r.rise = r.fall = none("logic");
  } else if (clipped) {
    r.rise = r.fall = none("clipped");
  } else {
    r.rise = e.riseTime.empty() ? none("no rise") : Reading{average(e.riseTime) / t.sampleRate, {}};
    r.fall = e.fallTime.empty() ? none("no fall") : Reading{average(e.fallTime) / t.sampleRate, {}};
  }
  return r;
}

std::vector<Peak> largestPeaks(std::span<const std::int16_t> m, double hertzPerPoint, int count) {
  std::vector<std::size_t> maxima;
  for (std::size_t k = 1; k < m.size(); ++k) {
    const bool aboveLeft = k == 1 || m[k] > m[k - 1];
    const bool notBelowRight = k + 1 == m.size() || m[k] >= m[k + 1];
    if (m[k] >= kLeastPeak && aboveLeft && notBelowRight) maxima.push_back(k);
  }
  const std::size_t kept = std::min<std::size_t>(maxima.size(), std::max(count, 0));
  std::partial_sort(maxima.begin(), maxima.begin() + static_cast<std::ptrdiff_t>(kept),
                    maxima.end(), [&m](std::size_t a, std::size_t b) { return m[a] > m[b]; });
  std::vector<Peak> peaks;
  for (std::size_t i = 0; i < kept; ++i)
    peaks.push_back(
        {static_cast<double>(maxima[i]) * hertzPerPoint, m[maxima[i]] * 100.0 / kTopCode});
  return peaks;
}

std::span<const Quantity> quantities() {
  static constexpr std::array<Quantity, 11> kAll = {{
      {"Vpp", "VPP", "V", "V", &WaveReadings::vpp, false},
      {"Max", "MAX", "V", "V", &WaveReadings::max, false},
      {"Min", "MIN", "V", "V", &WaveReadings::min, false},
      {"Mean", "MEAN", "V", "V", &WaveReadings::mean, false},
      {"RMS", "RMS", "V", "V", &WaveReadings::rms, false},
      {"AC RMS", "ACRMS", "V", "V", &WaveReadings::acRms, false},
      {"Freq", "FREQ", "Hz", "HZ", &WaveReadings::freq, true},
      {"Period", "PERIOD", "s", "S", &WaveReadings::period, true},
      {"Duty", "DUTY", "%", "PCT", &WaveReadings::duty, true},
      {"Rise", "RISE", "s", "S", &WaveReadings::rise, false},
      {"Fall", "FALL", "s", "S", &WaveReadings::fall, false},
  }};
  return kAll;
}

}  // namespace qvx::measure
