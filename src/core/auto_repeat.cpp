#include "core/auto_repeat.h"

namespace qvx {

void repeatWhileHeld(Scope& s, const std::function<void()>& step) {
  s.CursorButtonHeld = 1;
  s.host.Sleep(100);
  s.host.DoEvents();
  s.host.Sleep(100);
  s.host.DoEvents();
  s.host.Sleep(100);
  for (;;) {
    s.host.DoEvents();
    if (s.CursorButtonHeld != 1) return;
    s.host.Sleep(50);
    if (s.CursorButtonHeld != 1) return;
    step();
  }
}

}  // namespace qvx
