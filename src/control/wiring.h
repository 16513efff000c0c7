#pragma once
#include "control/scope.h"

namespace qvx {

// Connects the panel's controls to their event handlers. Each subsystem wires its own
// controls; wireHandlers calls them all once, when the window is created.
void wireHandlers(Scope& s);
void wireControl(Scope& s);
void wireAcquisition(Scope& s);
void wireDisplay(Scope& s);

}  // namespace qvx
