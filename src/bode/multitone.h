#pragma once
#include <cstdint>
#include <vector>

#include "bode/response.h"

namespace qvx::bode {

// The single-pass measurement plays a wave of many sines at once: one period of
// `period` points holding a sine at each of `bins` (cycles per period), repeated. The
// first periods let the load settle; the next ones are analysed.
inline constexpr int kSettlingPeriods = 1, kAnalysedPeriods = 2;
// The wave runs on a few points past the analysed periods: the last point of a pass is
// not read, and a channel read from the pass's first word needs the converter's delay
// more.
inline constexpr int kTailPoints = 8;
inline constexpr std::int32_t kTonePeriod = 16384;
// The highest tone keeps at least this many points per cycle, so the steps of the
// generator's output stay small against the wave.
inline constexpr int kTonePointsPerCycle = 64;

struct TonePass {
  int rateStep = 0;
  std::int32_t period = kTonePeriod;
  std::vector<int> bins;  // ascending
};

// The passes that cover START..STOP: each at the fastest rate whose lowest tone still
// reaches down to where the slower passes ended, with tones spaced about 1.5 % apart
// (every bin where bins are sparser).
std::vector<TonePass> planTonePasses(const Plan& plan, float rateMantissa);
// The whole table of a pass, output codes 0..4095: sines of equal amplitude with
// phases spread so that they rarely add up (Schroeder's phases), scaled to the
// converter's whole range.
std::vector<int> multiToneTable(const TonePass& pass);

}  // namespace qvx::bode
