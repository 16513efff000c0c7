#pragma once
#include "core/scope.h"

namespace qvx {

// Operating modes and the mode display.
void SmodeCheck(Scope& s);
void SMODEDISP(Scope& s);
void SmodeUP_Click(Scope& s);
void SmodeDown_Click(Scope& s);
void SCOPEMODE_Click(Scope& s);
void Command17_Click(Scope& s);
void Command18_Click(Scope& s);
void Command8_Click(Scope& s);
void Command9_Click(Scope& s);
void Command19_Click(Scope& s);
void Command20_Click(Scope& s);
void Command21_Click(Scope& s);

}  // namespace qvx
