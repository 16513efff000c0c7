#pragma once
#include <cstdint>
#include <vector>

#include "sim/sampler.h"
#include "sim/ticks.h"

namespace qvx::sim {

// The events of a periodic logic signal: the phases (0 <= phase < 1, as fractions of
// the period) at which it rises, repeating at `frequency`. A signal that never changes
// has no phases. Noise, which has no period, is described by its rate of rising edges.
struct EdgeTrain {
  double frequency = 0;
  std::vector<double> phases;
  double randomRate = 0;  // rising edges per second of a noise source, spread evenly

  // Rising edges in the interval (from, to], in closed form: no stepping through time.
  // An edge between two ticks belongs to the later one.
  std::int64_t count(Ticks from, Ticks to) const;
  // The tick of the first rising edge strictly after t; kNever when there is none.
  Ticks next(Ticks t) const;
};

// Rising and falling edges of the logic signal at input C or D.
EdgeTrain risingEdges(const DigitalSignal& s);
EdgeTrain fallingEdges(const DigitalSignal& s);

// The moments at which the trigger comparator starts to see its source beyond the level
// in the slope's direction: the analogue input (through the converter's range and
// coupling, as a capture's trigger compares it) or, for a digital source, its edges.
EdgeTrain comparatorEdges(const Inputs& in, int frontEnd, const TriggerCondition& cond);

// The same for an analogue wave, found by scanning one period at `steps` points: for
// waves known only by their values.
EdgeTrain scannedComparatorEdges(const AnalogSignal& wave, bool ac, double fullScale,
                                 const TriggerCondition& cond, int steps);

// The instrument's 1 MHz reference clock. Its edges sit half-way between whole
// microseconds of the instrument's clock, so they never coincide with an input edge
// that falls on a whole microsecond.
EdgeTrain referenceEdges();

}  // namespace qvx::sim
