#pragma once
#include "core/scope.h"

namespace qvx {

// The Bode view's GO: runs a sweep of the view's plan on the instrument, the view
// refreshed after every pass while events run, the rest of the window disabled meanwhile
// and the display's buffers put back afterwards. Pressed during the sweep (as is the
// program's GO/STOP), it stops it after the pass under way, keeping the points measured.
void BodeRunButton_Click(Scope& s);

}  // namespace qvx
