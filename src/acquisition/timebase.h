#pragma once
#include "core/scope.h"

namespace qvx {

// Timebase: sample rate and buffer size.
void DSAMPLE(Scope& s);

// The readouts as the panel prints them, for the step shown.
std::string rateReadout(int rateIndex, float rateMantissa);
std::string sizeReadout(int sizeIndex);

// Step buttons. A key press and a mouse press step the same way; the size buttons
// differ in how they set the scroll-bar ranges.
void SRATEN_MouseDown(Scope& s);
void SRATEN_KeyPress(Scope& s);
void SRATEP_MouseDown(Scope& s);
void SRATEP_KeyPress(Scope& s);
void SSIZEN_MouseDown(Scope& s);
void SSIZEN_KeyPress(Scope& s);
void SSIZEP_MouseDown(Scope& s);
void SSIZEP_KeyPress(Scope& s);

}  // namespace qvx
