#pragma once
#include "core/scope.h"

namespace qvx {

// Connects the timebase, channel and trigger controls to their handlers.
void wireAcquisition(Scope& s);

}  // namespace qvx
