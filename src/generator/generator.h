#pragma once
#include "core/scope.h"

namespace qvx {

// Signal generator: the panel redraw, the table rebuild, and the two generator runs.
// The generator's behaviour is not built yet; these are the seams the mode logic and
// the run engine call, and they leave the state untouched.
void GENDISP(Scope& s);
void GENUPDATEBUTTON_Click(Scope& s);
void DACGEN(Scope& s);
void DACADC(Scope& s);

}  // namespace qvx
