#pragma once
#include "core/scope.h"

namespace qvx {

// Places every control of the main window: positions and sizes in twips, fonts and
// colours, the pop-up panels hidden. Run once while the window is laid out at start-up.
void LayOutPanels(Scope& s);

}  // namespace qvx
