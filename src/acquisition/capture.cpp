#include "acquisition/capture.h"

namespace qvx {

void ADCconvert(Scope&) {}
void autoconvert(Scope&) {}
void trigconvert(Scope&) {}

}  // namespace qvx
