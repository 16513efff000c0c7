#pragma once
#include "core/scope.h"

namespace qvx {

// Connects the LOAD and SAVE buttons, both file panels and the adjustment panel to
// their handlers.
void wireFiles(Scope& s);

}  // namespace qvx
