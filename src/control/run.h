#pragma once
#include "core/scope.h"

namespace qvx {

// The run engine started by GO: one press starts a run, the press during a run asks it
// to stop, and the engine notices at its next check.
void GOBUTTON_Click(Scope& s);
void GOMODE(Scope& s);

}  // namespace qvx
