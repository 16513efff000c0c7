#pragma once
#include <string>
#include <vector>

#include "core/scope.h"

namespace qvx {

// Typed numbers: the generator's frequency and duty cycle, the trigger level, the
// calibration values, the SCOPE+GEN pre-delay, the recorder's interval and the Bode view's
// plan (start, stop, points a decade) can be typed.
// A click on the readout (or Enter while it, or for the duty cycle and the interval the
// button beside it, has the focus) opens the field `TypedValue` over the readout with
// the value shown; Enter applies the number through the same procedure the buttons use,
// Escape or leaving the field closes it and changes nothing, and text that is no number
// (or, for the Bode plan, a number the plan cannot take) is refused in the status line (in
// a message box on the adjustment panel, which covers that line), the field staying open
// to be put right.

// The readouts that can be typed, by name: a readout picture's own name, or "GenDuty" and
// "FRecInterval" for the values printed on their panels.
const std::vector<std::string>& typedReadouts();

// Opens the field over `readout` when its value can be set now (its panel shown, its
// buttons usable); false when not.
bool openTypedNumber(Scope& s, const std::string& readout);
// The field's Enter (apply), Escape (close) and the focus leaving it (close).
void typedNumberEnter(Scope& s);
void typedNumberEscape(Scope& s);
void typedNumberLeave(Scope& s);

void layOutTypedNumbers(Panel& p);
void wireTypedNumbers(Scope& s);

}  // namespace qvx
