#pragma once
#include <cstdint>

#include "sim/edges.h"
#include "sim/generator_unit.h"
#include "sim/sampler.h"

namespace qvx::sim {

// The instrument's 30-bit counter. It is set up by the (counter control, front-end)
// byte pairs the program clocks in, and answers on the data lines while the control
// byte's function bits select its status or one of its count bytes. Counts come from
// the input signals in closed form, so a long gate on a fast clock costs no more than a
// short one.
//
// Control byte: function bits 128 (status), 96 / 64 / 32 (count bits 23..16 / 15..8 /
// 7..0), 0 (idle); + source (0 C, 1 D, 2 trigger comparator, 3 1 MHz reference)
// + 4 x start/stop control (0 C high, 1 D low, 2 manual, 3 none: frequency gate)
// + 16 while a manual count runs. Front-end bits: 128 clear, 32 run.
class CounterUnit {
 public:
  static constexpr Ticks kGateTicks = kTicksPerSecond;   // the frequency gate: one second
  static constexpr std::int64_t kLimit = 1'073'741'568;  // beyond this the over-limit bit is set
  static constexpr std::int64_t kMaxCount = (1 << 30) - 1;

  CounterUnit(const Inputs& inputs, const TriggerCondition& comparator)
      : inputs_(inputs), comparator_(comparator) {}
  CounterUnit(const CounterUnit&) = delete;
  CounterUnit& operator=(const CounterUnit&) = delete;

  // A (counter control, front-end) pair reached the counter at time `now`. Settings
  // loaded through the generator's output register (`output` not null) point the
  // trigger comparator at the generator's output instead of input A or B.
  void load(int control, int frontEnd, Ticks now, const GeneratorUnit* output = nullptr);

  // Whether the control byte selects a counter byte for the data lines.
  bool drivesDataLines() const { return (control_ & 0xE0) != 0; }
  // The byte the counter shows on the data lines at time `now`.
  std::uint8_t dataLines(Ticks now) const;

  // Inside views, for tests.
  std::int64_t count(Ticks now) const;
  bool ended(Ticks now) const;

 private:
  EdgeTrain sourceEdges() const;
  bool countsGenerator() const { return output_ != nullptr && (control_ & 3) == 2; }
  // Rising crossings of the comparator level by the generator's output in (from, to].
  std::int64_t generatorEdges(Ticks from, Ticks to) const;
  // Edges counted while the run bit was on, between `from` and `to`, inside the window.
  std::int64_t countIn(Ticks from, Ticks to) const;
  void arm(Ticks now);

  const Inputs& inputs_;
  const TriggerCondition& comparator_;
  int control_ = 0;
  int frontEnd_ = 0;
  const GeneratorUnit* output_ = nullptr;

  bool armed_ = false;
  Ticks windowStart_ = 0, windowEnd_ = 0;  // counting happens inside this window
  bool running_ = false;                   // the run bit
  Ticks runSince_ = 0;                     // start of the current run-bit interval
  std::int64_t held_ = 0;                  // counted in earlier run-bit intervals
};

}  // namespace qvx::sim
