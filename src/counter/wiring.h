#pragma once
#include "core/scope.h"

namespace qvx {

// Connects the counter panel's buttons and the recorder panel's controls.
void wireCounter(Scope& s);

}  // namespace qvx
