#pragma once
#include "control/scope.h"

namespace qvx {

// Buffer readout and calibration.
void readbufferA(Scope& s);
void readbufferB(Scope& s);

}  // namespace qvx
