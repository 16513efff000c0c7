#pragma once
#include "core/scope.h"

namespace qvx {

// The measurements panel beside the signal display: per shown channel its levels,
// frequency and edge times (the largest peaks in FFT mode), and the two cursors'
// differences. Closed, the window is exactly as without it.

// Places the panel (hidden) and the pointer's help on the display; part of the layout.
void layOutMeasurements(Panel& p);
// Routes key M, the display's context menu and the pointer on the display.
void wireMeasurements(Scope& s);
// Opens or closes the panel, narrowing or widening the display beside it, redraws, and
// remembers the choice in the lasting settings.
void showMeasurements(Scope& s, bool open);
void MeasPanel_Toggle(Scope& s);
// Opens the panel at start-up when it was open when the program last ended.
void restoreMeasurements(Scope& s);
// Redraws the panel and the second cursor from the buffers; runs after every redraw.
void drawMeasurements(Scope& s);
// The pointer on the signal display: a press places the nearer cursor and a drag moves
// it, a drag with a modifier scrolls, the wheel zooms around the pointer.
void ScopeScreen_Pointer(Scope& s, const PointerEvent& e);

// The lasting setting that keeps the panel open.
inline constexpr const char* kMeasurementsSetting = "measurements/open";

}  // namespace qvx
