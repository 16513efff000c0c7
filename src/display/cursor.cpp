#include "display/cursor.h"

namespace qvx {

void curtest(Scope&) {}
void cursdraw(Scope&) {}
void Markspace(Scope&) {}
void Command23_Click(Scope&) {}
void ZoomButton_Click(Scope&) {}
void Cursxwinsel_Click(Scope&) {}

}  // namespace qvx
