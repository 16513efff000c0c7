#include "panel/widget.h"

#include <algorithm>

namespace qvx {

void ScrollBar::setValue(int v) {
  v = std::clamp(v, std::min(Min, Max), std::max(Min, Max));
  if (v == value_) return;
  value_ = v;
  if (onChange) onChange();
}

// A new end of the range moves a value that lies outside it; a bar whose maximum was
// lowered below its minimum (a generator table shorter than the narrowest window) comes
// back to its minimum when the maximum rises again, rather than keep the short width.
void ScrollBar::setMax(int m) {
  Max = m;
  if (value_ > std::max(Min, Max))
    setValue(Max);
  else if (value_ < std::min(Min, Max))
    setValue(std::min(Min, Max));
}

void ScrollBar::setMin(int m) {
  Min = m;
  if (value_ < std::min(Min, Max))
    setValue(std::min(Min, Max));
  else if (value_ > std::max(Min, Max))
    setValue(std::max(Min, Max));
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
