#include "control/run.h"

namespace qvx {

void GOBUTTON_Click(Scope&) {}
void GOMODE(Scope&) {}

}  // namespace qvx
