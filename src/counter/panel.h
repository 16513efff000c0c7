#pragma once
#include "core/scope.h"

namespace qvx {

// The counter panel (Picture10): its texts, its five buttons and the readout.

// Redraws the panel's texts, button captions and enabled states, and the readout.
void CountDisplay(Scope& s);
// Shows FCntText (refreshed from FCntValue) in the readout, on its current background.
void showCount(Scope& s);

void FCntModebutton_Click(Scope& s);
void FCntSourcebutton_Click(Scope& s);
void FCntStSpbutton_Click(Scope& s);
void FCntRepeatButton_Click(Scope& s);
void FCntResetbutton_Click(Scope& s);

}  // namespace qvx
