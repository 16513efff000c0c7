#pragma once
#include <memory>

#include "rig.h"

namespace qvx::testing {

// Presses EXIT on the port panel whenever it has been open for `delay` event pumps.
// After `limit` pumps the window is closed instead, so a panel whose EXIT cannot be
// reached ends the test rather than hanging it.
inline void exitPortPanelWhenShown(Rig& r, int delay = 3, int limit = 20000) {
  auto shownFor = std::make_shared<int>(0);
  r.host.onPump = [&r, shownFor, delay, limit] {
    if (r.host.pumps > limit) r.scope.unloaded = true;
    if (!r.scope.panel.CONFIGWINDOW.visible) {
      *shownFor = 0;
      return;
    }
    if (++*shownFor >= delay) r.scope.panel.CONFIGEXIT.click();
  };
}

}  // namespace qvx::testing
