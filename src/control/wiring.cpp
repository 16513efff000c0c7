#include "control/wiring.h"

namespace qvx {

void wireHandlers(Scope& s) {
  wireControl(s);
  wireAcquisition(s);
  wireDisplay(s);
}

void wireControl(Scope&) {}

}  // namespace qvx
