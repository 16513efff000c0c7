#pragma once
#include "core/scope.h"

namespace qvx {

// Start-up, timers and exit.
void Form_Load(Scope& s);
void Form_Activate(Scope& s);
void Timer1_Timer(Scope& s);
void Timer2_Timer(Scope& s);
void Command22_Click(Scope& s);
void Command1_Click(Scope& s);
void Form_Unload(Scope& s);

}  // namespace qvx
