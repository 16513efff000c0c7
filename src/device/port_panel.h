#pragma once
#include "core/scope.h"

namespace qvx {

// Port selection panel and the port file.
void Checkconfig(Scope& s);
// `why` says on the panel why it opened by itself; empty when the user asked for it.
void Configport(Scope& s, const std::string& why = {});
// The reason shown when no instrument answered on the configured port at start-up.
std::string nothingAnsweredOn(int lpt);
void SETUP_Click(Scope& s);
void SETLPT1_Click(Scope& s);
void SETLPT2_Click(Scope& s);
void SETLPT3_Click(Scope& s);
void CONFIGEXIT_Click(Scope& s);

}  // namespace qvx
