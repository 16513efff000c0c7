#pragma once
#include "core/scope.h"

namespace qvx {

// Capture sequence: arming, waiting and completion.
void ADCconvert(Scope& s);
void autoconvert(Scope& s);
void trigconvert(Scope& s);

}  // namespace qvx
