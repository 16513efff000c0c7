#pragma once
#include "core/scope.h"

namespace qvx {

// Connects the panel's controls to their event handlers. Each subsystem wires its own
// controls; wireHandlers calls them all once, when the window is created, after
// installing the run-control entry points the subsystems call back into.
void wireHandlers(Scope& s);
void wireControl(Scope& s);
void installRunControl(Scope& s);

}  // namespace qvx
