#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// Trigger settings, the level marker and its readout.
void TRIGGER(Scope& s);
void trcursdraw(Scope& s);
void TriggerSetCheck(const RunState& run, TriggerState& trig);
void TMODEBUTTON_MouseDown(Scope& s);
void TSOURCEBUTTON_MouseDown(Scope& s);
void TSLOPEBUTTON_MouseDown(Scope& s);
void PRETRIGBUTTON_MouseDown(Scope& s);
void TRESETBUTTON_Click(Scope& s);
void TriglevelBUTTON_MouseDown(Scope& s);
void DelayWin_Click(Scope& s);

// The four level buttons: a mouse press steps once and then repeats while the button is
// held; releasing it ends the repeat; a key press steps once.
void TRLARGEN_MouseDown(Scope& s);
void TRLARGEN_MouseUp(Scope& s);
void TRLARGEN_KeyPress(Scope& s);
void TRLARGEP_MouseDown(Scope& s);
void TRLARGEP_MouseUp(Scope& s);
void TRLARGEP_KeyPress(Scope& s);
void TRSMALLN_MouseDown(Scope& s);
void TRSMALLN_MouseUp(Scope& s);
void TRSMALLN_KeyPress(Scope& s);
void TRSMALLP_MouseDown(Scope& s);
void TRSMALLP_MouseUp(Scope& s);
void TRSMALLP_KeyPress(Scope& s);

// Moves the level to screen position `y`, kept 10 units inside the screen as the level
// buttons keep it, and redraws the marker and the readout.
void moveTriggerLevel(Scope& s, double y);
// The level given in volts on the source's scale (the typed readout), applied as a level
// button applies its step: only where the level buttons act (TRIG or Trig(f), source A
// or B). True when it was applied.
bool setTriggerLevelVolts(Scope& s, double volts);

// The level readout for a level in volts: a 7-character field, the number with a
// leading blank when it is not negative.
std::string levelText(float volts);

}  // namespace qvx
