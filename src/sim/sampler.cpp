#include "sim/sampler.h"

#include <algorithm>
#include <cmath>

#include "sim/generator_unit.h"

namespace qvx::sim {

namespace {
constexpr int kFilterSamples = 4;
constexpr std::int64_t kMinScan = 10000;

// Whether the source is past the level in the slope's direction at time t.
bool beyondLevel(const Inputs& in, int frontEnd, const TriggerCondition& c, Ticks t) {
  bool high;
  if (c.source <= 1) {
    const int code = analogueCode(in, frontEnd, c.source, t);
    high = c.negative ? code <= c.level : code >= c.level;
    return high;
  }
  high = (c.source == 2 ? in.c : in.d).high(t);
  return c.negative ? !high : high;
}

double analoguePeriod(const Inputs& in, const AnalogSignal& signal) {
  if (signal.shape == AnalogSignal::Shape::Generator)
    return in.generator ? in.generator->period() : 0;
  return signal.period();
}

double sourcePeriod(const Inputs& in, int source) {
  switch (source) {
    case 0:
      return analoguePeriod(in, in.a);
    case 1:
      return analoguePeriod(in, in.b);
    case 2:
      return in.c.period();
    default:
      return in.d.period();
  }
}
}  // namespace

int converterCode(double volts, double fullScale) {
  const long code = std::lround(2048 + 2048 * volts / fullScale);
  return static_cast<int>(std::clamp(code, 0L, 4095L));
}

double inputVolts(const Inputs& in, const AnalogSignal& signal, Ticks t, bool ac) {
  if (signal.shape == AnalogSignal::Shape::Generator)
    return in.generator ? in.generator->socketVolts(t, signal.load, ac) : 0;
  return signal.volts(t, ac);
}

int analogueCode(const Inputs& in, int frontEnd, int side, Ticks t) {
  using namespace frontend;
  if (side == 0)
    return converterCode(inputVolts(in, in.a, t, frontEnd & AcA), frontEnd & RangeA10V ? 10 : 1);
  return converterCode(inputVolts(in, in.b, t, frontEnd & AcB), frontEnd & RangeB10V ? 10 : 1);
}

std::uint16_t sampleWord(const Inputs& in, int frontEnd, int pair, Ticks t) {
  const int code = analogueCode(in, frontEnd, pair, t);
  const bool digital = (pair == 0 ? in.c : in.d).high(t);
  const int first = (digital ? 0x80 : 0) | ((code >> 8) << 3);
  return static_cast<std::uint16_t>((first << 8) | (code & 0xFF));
}

std::optional<std::int64_t> findTrigger(const Inputs& in, int frontEnd,
                                        const TriggerCondition& cond, Ticks armTime, Ticks point,
                                        std::int64_t maxScan) {
  if (point <= 0) return std::nullopt;
  const double rate = 1 / seconds(point);
  const double period = sourcePeriod(in, cond.source);
  if (period == 0) return std::nullopt;
  // A periodic source that has not crossed within two of its periods never will.
  std::int64_t limit = maxScan;
  if (std::isfinite(period))
    limit = std::min<double>(maxScan, std::max<double>(kMinScan, std::ceil(2 * period * rate)));

  const int needed = cond.filtered ? kFilterSamples : 1;
  bool before = beyondLevel(in, frontEnd, cond, armTime);
  std::int64_t crossing = -1;  // first sample of the current run beyond the level
  for (std::int64_t n = 1; n < limit + needed; ++n) {
    const bool now = beyondLevel(in, frontEnd, cond, armTime + n * point);
    if (now && !before) crossing = n;
    if (!now) crossing = -1;
    if (crossing >= 0 && n - crossing + 1 >= needed) return crossing;
    before = now;
  }
  return std::nullopt;
}

}  // namespace qvx::sim
