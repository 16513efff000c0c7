#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// How long the capture now programmed takes once started: SampleCount points at the rate
// of RateCode (2 x mantissa x 10^(8 - RateCode) points a second).
double captureSeconds(const Scope& s);

// The auto trigger gives a triggered capture its own time and this much more before it
// takes one at once.
constexpr double kAutoTriggerGrace = 0.1;

// Captures expected to take longer than this show their progress in the status box.
constexpr double kProgressAbove = 1.0;

// "  3.2 s of 32.8 s": the progress line of a long capture, elapsed and expected.
std::string progressLine(double elapsed, double expected);

}  // namespace qvx
