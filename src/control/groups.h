#pragma once
#include "core/scope.h"

namespace qvx {

// Control groups: the panel buttons are switched on and off in fixed groups.
void RANGEADISABLE(Scope& s);
void RANGEAENABLE(Scope& s);
void RANGEBDISABLE(Scope& s);
void RANGEBENABLE(Scope& s);
// Each channel's range group usable while its channel is on; both locked in GENERATOR mode,
// where the inputs take no part.
void setRangeGroups(Scope& s);
void GENDISABLE(Scope& s);
void GENENABLE(Scope& s);
void TRIGGERDISABLE(Scope& s);
void TRIGGERENABLE(Scope& s);
void SAMPLEDISABLE(Scope& s);
void SAMPLEENABLE(Scope& s);
void FILEDISABLE(Scope& s);
void FILEENABLE(Scope& s);

}  // namespace qvx
