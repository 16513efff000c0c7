#include "control/modes.h"

namespace qvx {

void SmodeCheck(Scope&) {}
void SMODEDISP(Scope&) {}
void SmodeUP_Click(Scope&) {}
void SmodeDown_Click(Scope&) {}
void SCOPEMODE_Click(Scope&) {}
void Command17_Click(Scope&) {}
void Command18_Click(Scope&) {}
void Command8_Click(Scope&) {}
void Command9_Click(Scope&) {}
void Command19_Click(Scope&) {}
void Command20_Click(Scope&) {}
void Command21_Click(Scope&) {}

}  // namespace qvx
