#pragma once
#include "core/scope.h"

namespace qvx {

// Calibration file and the utility panel. Not built yet: the gains stay 1 and the
// offsets 0, as start-up sets them, and the utility panel does not open.
void UtilBoxSetup(Scope& s);
void CheckCal(Scope& s);
void UtilButton_Click(Scope& s);

}  // namespace qvx
