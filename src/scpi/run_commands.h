#pragma once
#include "core/scope.h"

namespace qvx::scpi {

// One Single run through the run engine, as GO in Single does it; returns when the run
// has ended. Throws Failure -241 when no instrument answered the run's probe.
void runSingle(Scope& s);

}  // namespace qvx::scpi
