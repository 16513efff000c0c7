#include <algorithm>

#include "sim/instrument.h"

// The generator side of the instrument: continuous output, the single stepped pass of
// SCOPE+GEN, and where the samples of that pass land in the sample memory.
namespace qvx::sim {

namespace {
constexpr std::int32_t kMemSize = GeneratorUnit::kMemSize;
constexpr int kFastestRateCode = 1;
// Words between a generator point and its sample in memory: the converter's delay.
int converterDelay(int rateCode) {
  return rateCode == kFastestRateCode ? 6 : 1;
}
}  // namespace

// Register 38: output stopped (0) or running continuously at a rate; +16 and +32 load
// the trigger level or the counter settings while the output keeps running.
void Instrument::outputRegister(int value) {
  levelFollows_ = (value & 16) != 0;
  configFollows_ = (value & 32) != 0;
  const int rateCode = value & 7;
  const Ticks at = now();
  if (rateCode == 0) {
    if (!levelFollows_ && !configFollows_) generator_.stop(at);
    return;
  }
  const Ticks point = pointTicks(rateCode, config_.modelCode);
  if (generator_.playsContinuously() && generator_.pointTicks() == point) return;
  generator_.play(at, point, std::min(loopLength_, kMemSize - 1), false);
}

// Register 34: hold the first point (rate 0), or run the loop once at a rate while the
// converters sample every point.
void Instrument::stepRegister(int value) {
  const int rateCode = value & 7;
  if (rateCode == 0) {
    generator_.holdFirst(now());
    if (capture_.stepped) running_ = false;
    return;
  }
  startSteppedPass(rateCode);
}

void Instrument::startSteppedPass(int rateCode) {
  const Ticks point = pointTicks(rateCode, config_.modelCode);
  if (point <= 0) return;
  const Ticks start = now();
  const std::int32_t last = std::min(loopLength_, kMemSize - 1);
  generator_.play(start, point, last, true);
  endFlag_ = false;
  capture_.start = start;
  capture_.point = point;
  capture_.length = last;
  capture_.end = start + (last + 1) * point;
  capture_.frontEnd = frontEnd_;
  capture_.stepped = true;
  capture_.delay = converterDelay(rateCode);
  ++capture_.id;
  running_ = true;
}

// Sample i, taken at the end of point i, lies at address 65536 - L + delay + i (modulo
// the memory). Words outside the pass were taken while the first point was held.
Ticks Instrument::steppedSampleTime(std::int32_t address) const {
  std::int32_t i = (address - (kMemSize - capture_.length) - capture_.delay) % kMemSize;
  if (i < 0) i += kMemSize;
  if (i > capture_.length) i -= kMemSize;
  return capture_.start + (i + 1) * capture_.point;
}

}  // namespace qvx::sim
