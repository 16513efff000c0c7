#pragma once
#include "core/scope.h"

namespace qvx {

// Buffer readout and calibration.
void readbufferA(Scope& s);
void readbufferB(Scope& s);

// Repetitions of the four-point and single-point skip steps for a skip of `skip`
// points. A negative skip (a pretrigger longer than the spare memory) takes none.
struct SkipSteps {
  std::int32_t quads = 0, singles = 0;
};
SkipSteps skipSteps(std::int32_t skip);

}  // namespace qvx
