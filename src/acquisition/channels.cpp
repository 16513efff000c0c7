#include "acquisition/channels.h"

namespace qvx {

void CHANA(Scope&) {}
void CHANB(Scope&) {}
void CHANE(Scope&) {}
void CHANF(Scope&) {}
void SETCHAB(Scope&) {}
void setchabF(Scope&) {}
void SCHAbutton_Click(Scope&) {}
void SCHBbutton_Click(Scope&) {}
void SCHEbutton_Click(Scope&) {}
void SCHFbutton_Click(Scope&) {}
void Command2_Click(Scope&) {}
void Command7_Click(Scope&) {}
void Command3_Click(Scope&) {}
void Command6_Click(Scope&) {}
void Command4_Click(Scope&) {}
void Command5_Click(Scope&) {}

}  // namespace qvx
