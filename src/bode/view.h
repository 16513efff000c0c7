#pragma once
#include "bode/view_state.h"
#include "core/scope.h"

namespace qvx {

// The Bode view: gain and phase against log frequency over the signal display, with its
// plan (start, stop, points per decade, stepped or single), a GO/STOP of its own, a
// cursor, the -3 dB point, a progress readout and CSV export. Hidden at start; closed,
// the window is exactly as without it.

// Places the view's controls (hidden); part of the layout.
void layOutBode(Panel& p);
// Makes the view's state, routes key B, the display's context menu, the controls and
// the picture's pointer and arrow keys. Runs after the shortcuts are wired.
void wireBode(Scope& s);
// Opens or closes the view (closing stops a sweep under way), redraws, and remembers the
// choice in the lasting settings.
void showBode(Scope& s, bool open);
void BodeView_Toggle(Scope& s);
// Opens the view at start-up when it was open when the program last ended.
void restoreBode(Scope& s);
// Sets the view's plan as its buttons would (not while a sweep runs), keeps and shows it.
void setBodePlan(Scope& s, const bode::Plan& plan);
// Redraws the settings, the picture and the readouts from the view's state.
void drawBode(Scope& s);

bode::View& bodeView(Scope& s);

// The lasting settings: whether the view is open, and its plan as START:STOP:N[:single].
inline constexpr const char* kBodeSetting = "bode/open";
inline constexpr const char* kBodePlanSetting = "bode/plan";

}  // namespace qvx
