#pragma once
#include <functional>

#include "core/scope.h"

namespace qvx {

// Auto-repeat of a held button whose action has just run once on mouse down: marks the
// button as held, pauses 300 ms (letting events run after the first two 100 ms waits),
// then repeats `step` every 50 ms until the mouse-up handler clears CursorButtonHeld.
// The release is only seen while events run, so the loop yields before every step.
void repeatWhileHeld(Scope& s, const std::function<void()>& step);

}  // namespace qvx
