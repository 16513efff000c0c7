#pragma once
#include "core/scope.h"

namespace qvx {

// Display settings and vertical scaling.
void SDISPLAY(Scope& s);
void scrollcalca(Scope& s);
void scrollcalcB(Scope& s);
void scrollcalce(Scope& s);
void scrollcalcf(Scope& s);
void Scrollcalc(Scope& s);
void Command13_Click(Scope& s);
void Command15_Click(Scope& s);
void Command16_Click(Scope& s);
void Command12_Click(Scope& s);
void YMagAbutton_Click(Scope& s);
void YMagBbutton_Click(Scope& s);
void YMagEbutton_Click(Scope& s);
void YMagFbutton_Click(Scope& s);
void scrollupA_Click(Scope& s);
void scrolldownA_Click(Scope& s);
void scrollupB_Click(Scope& s);
void scrolldownB_Click(Scope& s);
void scrollupE_Click(Scope& s);
void scrolldownE_Click(Scope& s);
void scrollupF_Click(Scope& s);
void scrolldownF_Click(Scope& s);
void Scrollup_Click(Scope& s);
void scrolldown_Click(Scope& s);

}  // namespace qvx
