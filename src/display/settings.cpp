#include "display/settings.h"

namespace qvx {

void SDISPLAY(Scope&) {}
void scrollcalca(Scope&) {}
void scrollcalcB(Scope&) {}
void scrollcalce(Scope&) {}
void scrollcalcf(Scope&) {}
void Scrollcalc(Scope&) {}
void Command13_Click(Scope&) {}
void Command15_Click(Scope&) {}
void Command16_Click(Scope&) {}
void Command12_Click(Scope&) {}
void YMagAbutton_Click(Scope&) {}
void YMagBbutton_Click(Scope&) {}
void YMagEbutton_Click(Scope&) {}
void YMagFbutton_Click(Scope&) {}
void scrollupA_Click(Scope&) {}
void scrolldownA_Click(Scope&) {}
void scrollupB_Click(Scope&) {}
void scrolldownB_Click(Scope&) {}
void scrollupE_Click(Scope&) {}
void scrolldownE_Click(Scope&) {}
void scrollupF_Click(Scope&) {}
void scrolldownF_Click(Scope&) {}
void Scrollup_Click(Scope&) {}
void scrolldown_Click(Scope&) {}

}  // namespace qvx
