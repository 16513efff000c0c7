#pragma once
#include "core/scope.h"

namespace qvx {

// Cursors and the frequency and duty-cycle measurement.
void curtest(Scope& s);
void cursdraw(Scope& s);
void Markspace(Scope& s);
void Command23_Click(Scope& s);
void ZoomButton_Click(Scope& s);

// Cursor move buttons: << and >> move by the coarse step, < and > by the fine step.
// A press moves once and then repeats while the button is held; a key moves once.
void Command24_MouseDown(Scope& s);
void Command25_MouseDown(Scope& s);
void Command26_MouseDown(Scope& s);
void Command27_MouseDown(Scope& s);
void Command24_MouseUp(Scope& s);
void Command25_MouseUp(Scope& s);
void Command26_MouseUp(Scope& s);
void Command27_MouseUp(Scope& s);
void Command25_KeyPress(Scope& s);
void Command26_KeyPress(Scope& s);
void Command27_KeyPress(Scope& s);

}  // namespace qvx
