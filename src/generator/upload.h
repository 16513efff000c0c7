#pragma once
#include "core/scope.h"

namespace qvx {

// The generator's output converter.
// Uploads points 0..DacLastIndex of the table and commits the loop length.
void DACWRITE(Scope& s);
// Starts continuous output at RateCode, repeating points 0..DacLastIndex.
void DACCONT(Scope& s);
// The GENERATOR run: upload, output, the counter showing the output's frequency until
// STOP, then the output stopped and its memory cleared.
void DACGEN(Scope& s);

}  // namespace qvx
