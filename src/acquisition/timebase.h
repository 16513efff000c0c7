#pragma once
#include "control/scope.h"

namespace qvx {

// Timebase: sample rate and buffer size.
void DSAMPLE(Scope& s);

}  // namespace qvx
