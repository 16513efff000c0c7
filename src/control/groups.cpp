#include "control/groups.h"

namespace qvx {

void RANGEADISABLE(Scope&) {}
void RANGEAENABLE(Scope&) {}
void RANGEBDISABLE(Scope&) {}
void RANGEBENABLE(Scope&) {}
void GENDISABLE(Scope&) {}
void GENENABLE(Scope&) {}
void TRIGGERDISABLE(Scope&) {}
void TRIGGERENABLE(Scope&) {}
void SAMPLEDISABLE(Scope&) {}
void SAMPLEENABLE(Scope&) {}
void FILEDISABLE(Scope&) {}
void FILEENABLE(Scope&) {}

}  // namespace qvx
