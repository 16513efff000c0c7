#include "control/layout.h"

namespace qvx {

void LayOutPanels(Scope&) {}

}  // namespace qvx
