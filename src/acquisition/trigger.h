#pragma once
#include "control/scope.h"

namespace qvx {

// Trigger settings, the level marker and its readout.
void TRIGGER(Scope& s);
void trcursdraw(Scope& s);
void TriggerSetCheck(Scope& s);
void TMODEBUTTON_MouseDown(Scope& s);
void TSOURCEBUTTON_MouseDown(Scope& s);
void TSLOPEBUTTON_MouseDown(Scope& s);
void PRETRIGBUTTON_MouseDown(Scope& s);
void TRESETBUTTON_Click(Scope& s);
void TriglevelBUTTON_MouseDown(Scope& s);
void DelayWin_Click(Scope& s);

}  // namespace qvx
