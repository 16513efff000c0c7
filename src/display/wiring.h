#pragma once
#include "core/scope.h"

namespace qvx {

// Connects the display, cursor and scroll controls to their handlers.
void wireDisplay(Scope& s);

}  // namespace qvx
