#include "control/startup.h"

namespace qvx {

void Form_Load(Scope&) {}
void Form_Activate(Scope&) {}
void Timer1_Timer(Scope&) {}
void Timer2_Timer(Scope&) {}
void Command22_Click(Scope&) {}
void Command1_Click(Scope&) {}
void Form_Unload(Scope&) {}

}  // namespace qvx
