#include "sim/edges.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qvx::sim {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr double kNoiseSteps = 1e8;  // the noise source takes a new value this often a second
double wrap(double phase) {
  return phase - std::floor(phase);
}

EdgeTrain periodic(double frequency, double phase) {
  return {frequency, {wrap(phase)}, 0};
}

// The voltage at which the comparator's verdict changes, as the converter rounds: a
// positive slope sees the source beyond the level from this voltage up, a negative
// slope below it. Empty when the verdict cannot change for this level.
bool threshold(const TriggerCondition& c, double fullScale, double& volts) {
  if (!c.negative) {
    if (c.level <= 0 || c.level > 4095) return false;
    volts = (c.level - 0.5 - 2048) * fullScale / 2048;
  } else {
    if (c.level < 0 || c.level >= 4095) return false;
    volts = (c.level + 0.5 - 2048) * fullScale / 2048;
  }
  return true;
}
}  // namespace

namespace {
// Edges at phase `phase` of a wave of `frequency` Hz up to time t, counted from an
// arbitrary but fixed origin: floor(cycles - phase).
std::int64_t edgesUpTo(double frequency, double phase, Ticks t) {
  const Cycles c = cyclesAt(frequency, t);
  return c.whole - (c.fraction < phase ? 1 : 0);
}

std::int64_t edgesIn(double frequency, double phase, Ticks from, Ticks to) {
  return edgesUpTo(frequency, phase, to) - edgesUpTo(frequency, phase, from);
}

// The tick of the first edge after t: estimated from the phase still to run, then
// settled on the tick at which the count steps, so that it agrees with count().
Ticks nextEdge(double frequency, double phase, Ticks t) {
  if (!(frequency > 0)) return kNever;
  const double fraction = cyclesAt(frequency, t).fraction;
  const double ahead = fraction < phase ? phase - fraction : 1 + phase - fraction;
  auto at =
      t + std::max<Ticks>(1, static_cast<Ticks>(std::ceil(ahead * kTicksPerSecond / frequency)));
  while (at - 1 > t && edgesIn(frequency, phase, t, at - 1) > 0) --at;
  while (edgesIn(frequency, phase, t, at) == 0) ++at;
  return at;
}
}  // namespace

std::int64_t EdgeTrain::count(Ticks from, Ticks to) const {
  if (!(to > from)) return 0;
  std::int64_t n = 0;
  if (randomRate > 0) n += edgesIn(randomRate, 0, from, to);
  for (double phase : phases) n += edgesIn(frequency, phase, from, to);
  return n;
}

Ticks EdgeTrain::next(Ticks t) const {
  if (t == kNever) return kNever;
  Ticks best = kNever;
  if (randomRate > 0) best = nextEdge(randomRate, 0, t);
  for (double phase : phases) best = std::min(best, nextEdge(frequency, phase, t));
  return best;
}

EdgeTrain risingEdges(const DigitalSignal& s) {
  if (s.period() == 0) return {};
  return periodic(s.frequency, 0);
}

EdgeTrain fallingEdges(const DigitalSignal& s) {
  if (s.period() == 0) return {};
  return periodic(s.frequency, s.duty / 100);
}

EdgeTrain referenceEdges() {
  return periodic(1e6, 0.5);
}

EdgeTrain scannedComparatorEdges(const AnalogSignal& wave, bool ac, double fullScale,
                                 const TriggerCondition& cond, int steps) {
  const double period = wave.period();
  if (!(period > 0) || !std::isfinite(period) || steps < 2) return {};
  auto beyond = [&](int k) {
    const int code =
        converterCode(wave.voltsAtPhase(static_cast<double>(k) / steps, ac), fullScale);
    return cond.negative ? code <= cond.level : code >= cond.level;
  };
  EdgeTrain train{1 / period, {}, 0};
  bool before = beyond(steps - 1);
  for (int k = 0; k < steps; ++k) {
    const bool now = beyond(k);
    if (now && !before) train.phases.push_back(static_cast<double>(k) / steps);
    before = now;
  }
  return train;
}

EdgeTrain comparatorEdges(const Inputs& in, int frontEnd, const TriggerCondition& cond) {
  using namespace frontend;
  if (cond.source >= 2) {
    const DigitalSignal& d = cond.source == 2 ? in.c : in.d;
    return cond.negative ? fallingEdges(d) : risingEdges(d);
  }
  const AnalogSignal& wave = cond.source == 0 ? in.a : in.b;
  const bool ac = frontEnd & (cond.source == 0 ? AcA : AcB);
  const double fullScale = frontEnd & (cond.source == 0 ? RangeA10V : RangeB10V) ? 10 : 1;
  double vth = 0;
  if (!threshold(cond, fullScale, vth) || wave.period() == 0) return {};

  const double dc = ac ? 0 : wave.offset;
  const double amplitude = std::abs(wave.amplitude);
  // A negative amplitude is the same wave half a period later.
  const double shift = wave.amplitude < 0 ? 0.5 : 0;
  const double x = (vth - dc) / amplitude;  // the threshold in units of the amplitude
  using Shape = AnalogSignal::Shape;
  switch (wave.shape) {
    case Shape::Noise: {
      // Independent values, uniform between the peaks: the chance of being beyond the
      // level is q, and a rising verdict needs a step from not beyond to beyond.
      const double up = std::clamp((1 - x) / 2, 0.0, 1.0);
      const double q = cond.negative ? 1 - up : up;
      return {0, {}, kNoiseSteps * q * (1 - q)};
    }
    case Shape::Sine:
      if (!(x > -1 && x < 1)) return {};
      return periodic(
          wave.frequency,
          (cond.negative ? 0.5 - std::asin(x) / kTwoPi : std::asin(x) / kTwoPi) + shift);
    case Shape::Triangle:
      if (!(x > -1 && x < 1)) return {};
      return periodic(wave.frequency, (cond.negative ? 0.5 - x / 4 : x / 4) + shift);
    case Shape::Square:
      if (!(x > -1 && x <= 1)) return {};
      return periodic(wave.frequency, (cond.negative ? 0.5 : 0) + shift);
    case Shape::Dc:
      return {};
    default:
      return scannedComparatorEdges(wave, ac, fullScale, cond, 4096);
  }
}

}  // namespace qvx::sim
