#pragma once
#include <string>

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
// The plan's values that its buttons step and that can be typed.
enum class BodePlanValue { Start, Stop, PerDecade };
// Why `value` cannot become that value of the plan now, empty when it can: a sweep under
// way, a frequency outside 5..500000 Hz (whole hertz, as the generator plays them), points
// a decade that are no whole number 1..100, or a start not below the stop.
std::string bodePlanRefusal(const Scope& s, BodePlanValue which, double value);
// The one way the plan's values change, for the buttons' steps and typed values alike:
// sets the value (frequencies rounded to whole hertz) unless refused, keeps the plan in the
// lasting settings and redraws. Returns the refusal, empty when set.
std::string setBodePlanValue(Scope& s, BodePlanValue which, double value);
// Redraws the settings, the picture and the readouts from the view's state.
void drawBode(Scope& s);

bode::View& bodeView(Scope& s);

// The lasting settings: whether the view is open, and its plan as START:STOP:N[:single].
inline constexpr const char* kBodeSetting = "bode/open";
inline constexpr const char* kBodePlanSetting = "bode/plan";

}  // namespace qvx
