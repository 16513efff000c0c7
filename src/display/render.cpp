#include "display/render.h"

namespace qvx {

void HScroll1_Change(Scope&) {}
void HScroll2_Change(Scope&) {}
void ScopeScreen_Click(Scope&) {}

}  // namespace qvx
