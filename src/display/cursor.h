#pragma once
#include "control/scope.h"

namespace qvx {

// Cursors and the frequency and duty-cycle measurement.
void curtest(Scope& s);
void cursdraw(Scope& s);
void Markspace(Scope& s);
void Command23_Click(Scope& s);
void ZoomButton_Click(Scope& s);
void Cursxwinsel_Click(Scope& s);

}  // namespace qvx
