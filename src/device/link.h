#pragma once
#include "core/scope.h"

namespace qvx {

// Register primitives: every conversation with the instrument is a chain of these.
// Values are taken as 16-bit integers and the port receives their low byte.
void WriteReg(Scope& s, int value, int reg);
void StrobePulse(Scope& s);
void WriteRegPulse(Scope& s, int value, int reg);
void ClockPair(Scope& s, int first, int second);

// Device-link procedures.
void initport(Scope& s);
void Testpower(Scope& s);
void SETMAXLOOP(Scope& s);
void reloadloop(Scope& s);
void DACZERO(Scope& s);

}  // namespace qvx
