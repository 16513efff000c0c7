#pragma once
#include "core/scope.h"

namespace qvx {

// Port selection panel and the port file.
void Checkconfig(Scope& s);
void Configport(Scope& s);
void SETUP_Click(Scope& s);
void SETLPT1_Click(Scope& s);
void SETLPT2_Click(Scope& s);
void SETLPT3_Click(Scope& s);
void CONFIGEXIT_Click(Scope& s);

}  // namespace qvx
