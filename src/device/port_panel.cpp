#include "device/port_panel.h"

namespace qvx {

void Checkconfig(Scope&) {}
void Configport(Scope&) {}
void SETUP_Click(Scope&) {}
void SETLPT1_Click(Scope&) {}
void SETLPT2_Click(Scope&) {}
void SETLPT3_Click(Scope&) {}
void CONFIGEXIT_Click(Scope&) {}

}  // namespace qvx
