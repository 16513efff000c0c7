#include "generator/generator.h"

namespace qvx {

// Not built yet: the generator panel keeps its start-up face, the output table its
// start values, and GENERATOR or SCOPE+GEN runs produce no capture (CaptureDone stays 0).
void GENDISP(Scope&) {}
void GENUPDATEBUTTON_Click(Scope&) {}
void DACGEN(Scope&) {}
void DACADC(Scope&) {}

}  // namespace qvx
