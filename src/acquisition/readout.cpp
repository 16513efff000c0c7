#include "acquisition/readout.h"

namespace qvx {

void readbufferA(Scope&) {}
void readbufferB(Scope&) {}

}  // namespace qvx
