#pragma once
#include "core/scope.h"

namespace qvx {

// Frequency counter: switching its panel on and off, drawing it, and one measurement.
// The counter is not built yet; these are the seams the mode logic, start-up and the
// run engine call.
void FcntON(Scope& s);
void FCntOFF(Scope& s);
void CountDisplay(Scope& s);
void FCntMain(Scope& s);

}  // namespace qvx
