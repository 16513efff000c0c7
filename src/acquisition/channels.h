#pragma once
#include "control/scope.h"

namespace qvx {

// Channel set-up and the front-end configuration.
void CHANA(Scope& s);
void CHANB(Scope& s);
void CHANE(Scope& s);
void CHANF(Scope& s);
void SETCHAB(Scope& s);
void setchabF(Scope& s);
void SCHAbutton_Click(Scope& s);
void SCHBbutton_Click(Scope& s);
void SCHEbutton_Click(Scope& s);
void SCHFbutton_Click(Scope& s);
void Command2_Click(Scope& s);
void Command7_Click(Scope& s);
void Command3_Click(Scope& s);
void Command6_Click(Scope& s);
void Command4_Click(Scope& s);
void Command5_Click(Scope& s);

}  // namespace qvx
