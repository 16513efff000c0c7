#pragma once
#include "control/scope.h"

namespace qvx {

// The run engine started by GO.
void GOBUTTON_Click(Scope& s);
void GOMODE(Scope& s);

}  // namespace qvx
