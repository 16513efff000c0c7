#include "measure/channels.h"

#include <algorithm>
#include <cmath>

namespace qvx::measure {

namespace {
constexpr int kScopeGen = 2, kFft = 4;

const SampleBuffer& bufferOf(const InstrumentState& s, int channel) {
  const bool fft = s.OperatingMode == kFft;
  switch (channel) {
    case 0:
      return fft ? s.TimeBufA : s.BufA;
    case 1:
      return fft ? s.TimeBufB : s.BufB;
    case 2:
      return s.BufC;
    default:
      return s.BufD;
  }
}

// A code deviation of 2047 is the full scale of the range step the data were taken in
// (1, 10 or 100 V with the probe), as the cursor readout scales it.
double voltsPerCode(const TakenWith& w, int channel) {
  const int range = channel == 1 ? w.rangeB : w.rangeA;
  return std::pow(10.0, range) / 2047.0;
}
}  // namespace

TakenWith shownData(const InstrumentState& s) {
  return {s.DataRangeA, s.DataRangeB, s.DataRateIndex, s.DataRateIndexB};
}

TakenWith lastRun(const InstrumentState& s) {
  return {s.RangeStepA, s.RangeStepB, s.RateIndexA, s.RateIndexB};
}

std::int32_t capturedPoints(const InstrumentState& s) {
  std::int32_t points = (1 << s.SampleSizeIndex) * 2 * s.ScrollUnit;
  if (s.OperatingMode == kScopeGen) points = static_cast<std::int32_t>(s.LastShown) + 1;
  if (s.OperatingMode == kFft) points = s.FftSize;
  return std::clamp<std::int32_t>(points, 0, 65536);
}

double sampleRate(const InstrumentState& s, const TakenWith& w, int channel) {
  const int rate = channel == 1 ? w.rateB : w.rateA;
  return 2.0 * s.RateMantissa * std::pow(10.0, rate + 3);
}

Trace traceOf(const InstrumentState& s, const TakenWith& w, int channel) {
  const SampleBuffer& buf = bufferOf(s, channel);
  Trace t;
  t.codes = std::span<const std::int16_t>(buf.data(), static_cast<std::size_t>(capturedPoints(s)));
  t.zeroCode = s.MidLevel;
  t.voltsPerCode = voltsPerCode(w, channel);
  t.sampleRate = sampleRate(s, w, channel);
  t.digital = channel >= 2;
  return t;
}

std::vector<Peak> spectrumPeaks(const InstrumentState& s, const TakenWith& w, int channel,
                                int count) {
  const SampleBuffer& buf = channel == 0 ? s.BufA : s.BufB;
  const std::size_t points =
      std::clamp<std::size_t>(static_cast<std::size_t>(s.FftSize / 2), 0, buf.size());
  return largestPeaks(std::span<const std::int16_t>(buf.data(), points),
                      sampleRate(s, w, channel) / s.FftSize, count);
}

double voltsAt(const InstrumentState& s, int channel, std::int32_t index) {
  const SampleBuffer& buf = bufferOf(s, channel);
  index = std::clamp<std::int32_t>(index, 0, static_cast<std::int32_t>(buf.size()) - 1);
  return (buf[static_cast<std::size_t>(index)] - s.MidLevel) * voltsPerCode(shownData(s), channel);
}

}  // namespace qvx::measure
