#pragma once
#include "control/scope.h"

namespace qvx {

// The spectrum analyser.
void FFTconvert(Scope& s);

}  // namespace qvx
