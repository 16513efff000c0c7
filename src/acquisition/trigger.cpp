#include "acquisition/trigger.h"

namespace qvx {

void TRIGGER(Scope&) {}
void trcursdraw(Scope&) {}
void TriggerSetCheck(Scope&) {}
void TMODEBUTTON_MouseDown(Scope&) {}
void TSOURCEBUTTON_MouseDown(Scope&) {}
void TSLOPEBUTTON_MouseDown(Scope&) {}
void PRETRIGBUTTON_MouseDown(Scope&) {}
void TRESETBUTTON_Click(Scope&) {}
void TriglevelBUTTON_MouseDown(Scope&) {}
void DelayWin_Click(Scope&) {}

}  // namespace qvx
