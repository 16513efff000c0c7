#pragma once
#include <string>

#include "sim/load.h"
#include "sim/ticks.h"

namespace qvx::sim {

// A wave at an analogue input socket, in volts.
struct AnalogSignal {
  // Generator: the instrument's own generator output wired to the socket.
  enum class Shape { Sine, Square, Triangle, Dc, Noise, Generator };
  Shape shape = Shape::Sine;
  double frequency = 1000;  // Hz
  double amplitude = 0.8;   // V, peak
  double offset = 0;        // V, the DC part
  Load load;                // Generator: what sits between the output and the socket

  // The voltage at time t; with `ac` the DC part is removed, as the coupling capacitor
  // does. The generator's output is not known here: 0.
  double volts(Ticks t, bool ac) const;
  // The voltage at `phase` (0 <= phase < 1) of a period of a periodic wave.
  double voltsAtPhase(double phase, bool ac) const;
  // Seconds after which the wave repeats itself: 0 for a constant, infinity for noise.
  double period() const;
};

// A logic signal at a digital input: a clock with a duty cycle, or a constant level.
struct DigitalSignal {
  double frequency = 5000;  // Hz; 0 means a constant level
  double duty = 50;         // % of the period spent high; 0 or 100 for a constant level

  bool high(Ticks t) const;
  double period() const;
};

// "shape:frequency:amplitude:offset" (sine, square, triangle, noise; later fields may
// be left off), "dc:volts", "gen" (the generator's output), "gen-rc:ohms:farads" or
// "gen-hp:ohms:farads" (through an RC low-pass or high-pass) or
// "gen-rlc:ohms:henrys:farads" (through a series RLC, taken across the capacitor).
// Throws std::invalid_argument naming `option`.
AnalogSignal parseAnalog(const std::string& text, const std::string& option);
// "clock:frequency:duty", "low" or "high". Throws std::invalid_argument naming `option`.
DigitalSignal parseDigital(const std::string& text, const std::string& option);

}  // namespace qvx::sim
