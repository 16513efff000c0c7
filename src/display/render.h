#pragma once
#include "control/scope.h"

namespace qvx {

// The trace renderer of the signal display.
void HScroll1_Change(Scope& s);
void HScroll2_Change(Scope& s);
void ScopeScreen_Click(Scope& s);

}  // namespace qvx
