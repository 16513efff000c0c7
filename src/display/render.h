#pragma once
#include "core/scope.h"

namespace qvx {

// The trace renderer of the signal display.
void HScroll1_Change(Scope& s);
void HScroll2_Change(Scope& s);
void ScopeScreen_Click(Scope& s);

// Rate index of the data on screen: the captured rate in SCOPE and FFT, otherwise
// the generator's rate for its current mode.
int displayRateIndex(const RunState& run, const DisplayState& disp, const GeneratorState& gen);
// Highest scroll position of the current mode: the capture in SCOPE and FFT, the
// generator table otherwise.
float currentScrollLast(const RunState& run, const TimebaseState& timebase,
                        const GeneratorState& gen);
// Keeps the window inside the buffer: ViewStart is pulled back so the window ends at
// ScrollLast (and at 32767 at most); a window wider than the capture becomes the whole
// capture, which moves the X-magnify bar.
void clampViewWindow(Scope& s);

}  // namespace qvx
