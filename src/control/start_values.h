#pragma once
#include "core/scope.h"

namespace qvx {

// The start values of the instrument state, in the two batches start-up sets them:
// the first before the calibration file is read (it may override the calibration
// defaults), the further ones after it.
void SetFirstStartValues(Scope& s);
void SetFurtherStartValues(Scope& s);

}  // namespace qvx
