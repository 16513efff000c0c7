#pragma once
#include "core/scope.h"

namespace qvx {

// SCOPE+GEN: the generator plays its table once while the four channels are sampled
// point for point.
// Arms the single pass, holds the first point for the pre-delay, then starts it.
void DACADCONCE(Scope& s);
// The whole pass: upload, pass, wait for its end, readout.
void DACADC(Scope& s);

// Polls of 20 ms the wait for the end of a pass of `lastIndex` + 1 points allows.
int stepWaitLoops(int rateCode, std::int32_t lastIndex);

}  // namespace qvx
