#include "acquisition/timebase.h"

namespace qvx {

void DSAMPLE(Scope&) {}

}  // namespace qvx
