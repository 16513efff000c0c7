#pragma once
#include <cstdint>
#include <optional>

#include "sim/signal.h"
#include "sim/ticks.h"

namespace qvx::sim {

class GeneratorUnit;

// What is plugged into the four input sockets.
struct Inputs {
  AnalogSignal a{AnalogSignal::Shape::Sine, 1000, 4, 0, {}};
  AnalogSignal b{AnalogSignal::Shape::Triangle, 2500, 3, 0, {}};
  DigitalSignal c{5000, 50};
  DigitalSignal d{2000, 50};
  // The instrument's own generator, for inputs wired to its output.
  const GeneratorUnit* generator = nullptr;
};

// Front-end byte bits the sampler reads.
namespace frontend {
constexpr int RangeA10V = 1, AcA = 2, AcB = 4, RangeB10V = 8, Filtered = 64;
}

// The converter: 2048 codes per full scale either side of mid-scale, clipped.
int converterCode(double volts, double fullScale);

// The voltage at an analogue input socket carrying `signal` at time t; with `ac` its DC
// part removed. Inputs wired to the generator read its output through `in.generator`.
double inputVolts(const Inputs& in, const AnalogSignal& signal, Ticks t, bool ac);

// The 12-bit code of analogue channel `side` (0 A, 1 B) at time t.
int analogueCode(const Inputs& in, int frontEnd, int side, Ticks t);

// One sample of a channel pair (0 A/C, 1 B/D) as the data lines show it: the first
// byte (digital bit 7, code bits 11..8 in bits 6..3) high, the second byte low.
std::uint16_t sampleWord(const Inputs& in, int frontEnd, int pair, Ticks t);

// A trigger condition as latched from the port.
struct TriggerCondition {
  int source = 0;  // 0 A, 1 B, 2 C, 3 D
  bool negative = false;
  int level = 2048;  // 12-bit comparator value (analogue sources)
  bool filtered = false;
};

// Samples from the arm time, one every `point` ticks, until the source crosses the level in
// the slope's direction; returns the sample number of the crossing. The filtered
// trigger ignores crossings that do not last a few samples. Gives up after `maxScan`
// samples, or at once for a source that never changes.
std::optional<std::int64_t> findTrigger(const Inputs& in, int frontEnd,
                                        const TriggerCondition& cond, Ticks armTime, Ticks point,
                                        std::int64_t maxScan);

}  // namespace qvx::sim
