#include "files/calibration.h"

namespace qvx {

void UtilBoxSetup(Scope&) {}
void CheckCal(Scope&) {}
void UtilButton_Click(Scope&) {}

}  // namespace qvx
