#include "panel/widget.h"

#include <algorithm>

namespace qvx {

void ScrollBar::setValue(int v) {
  v = std::clamp(v, std::min(Min, Max), std::max(Min, Max));
  if (v == value_) return;
  value_ = v;
  if (onChange) onChange();
}

void ScrollBar::setMax(int m) {
  Max = m;
  if (value_ > std::max(Min, Max)) setValue(Max);
}

void ScrollBar::setMin(int m) {
  Min = m;
  if (value_ < std::min(Min, Max)) setValue(Min);
}

void fireDueTimers(std::vector<Timer*>& timers, double now) {
  for (Timer* t : timers) {
    if (t->restart) {
      t->startedAt = now;
      t->restart = false;
    }
    if (!t->enabled() || t->interval() <= 0 || t->firing) continue;
    if ((now - t->startedAt) * 1000.0 + 1e-9 < t->interval()) continue;
    t->startedAt = now;
    t->firing = true;
    if (t->onTimer) t->onTimer();
    t->firing = false;
  }
}

}  // namespace qvx
