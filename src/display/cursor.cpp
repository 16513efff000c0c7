#include "display/cursor.h"

#include <algorithm>
#include <cmath>

#include "core/auto_repeat.h"
#include "display/render.h"
#include "display/render_parts.h"
#include "display/settings.h"
#include "panel/numeric.h"

namespace qvx {

using namespace display;

namespace {

enum class Move { CoarseLeft, CoarseRight, FineLeft, FineRight };

void moveCursor(const RenderState& render, CursorState& cursor, Move m) {
  const bool coarse = m == Move::CoarseLeft || m == Move::CoarseRight;
  const double step = coarse ? cursor.CursorCoarseStep : static_cast<double>(cursor.CursorFineStep);
  if (m == Move::CoarseLeft || m == Move::FineLeft) {
    cursor.CursorX = std::max(0.0, cursor.CursorX - step);
  } else {
    cursor.CursorX += step;
    if (cursor.CursorX >= render.ViewPoints) cursor.CursorX = render.ViewPoints - 1;
  }
}

void stepOnce(Scope& s, Move m) {
  if (s.CursorSel == 0) return;
  moveCursor(s, s, m);
  cursdraw(s);
}

void moveWhileHeld(Scope& s, Move m) {
  if (s.CursorSel == 0) return;
  stepOnce(s, m);
  repeatWhileHeld(s, [&] { stepOnce(s, m); });
}

void release(CursorState& s) {
  s.CursorButtonHeld = 0;
}

}  // namespace

void Command24_MouseDown(Scope& s) {
  moveWhileHeld(s, Move::CoarseLeft);
}
void Command25_MouseDown(Scope& s) {
  moveWhileHeld(s, Move::CoarseRight);
}
void Command26_MouseDown(Scope& s) {
  moveWhileHeld(s, Move::FineLeft);
}
void Command27_MouseDown(Scope& s) {
  moveWhileHeld(s, Move::FineRight);
}
void Command24_MouseUp(Scope& s) {
  release(s);
}
void Command25_MouseUp(Scope& s) {
  release(s);
}
void Command26_MouseUp(Scope& s) {
  release(s);
}
void Command27_MouseUp(Scope& s) {
  release(s);
}
void Command25_KeyPress(Scope& s) {
  stepOnce(s, Move::CoarseRight);
}
void Command26_KeyPress(Scope& s) {
  stepOnce(s, Move::FineLeft);
}
void Command27_KeyPress(Scope& s) {
  stepOnce(s, Move::FineRight);
}

void curtest(Scope& s) {
  int& c = s.CursorSel;
  if ((c == 1 || c == 2) && mathSelected(s)) c = s.SelAplusB == 1 ? 5 : 6;
  if ((c == 1 && s.SelA != 1) || (c == 2 && s.SelB != 1)) c = 0;
  if (c == 5 || c == 6) c = s.SelAplusB == 1 ? 5 : s.SelAminusB == 1 ? 6 : 0;
  if (c == 7 && s.SelE == -1) c = 0;
}

void Command23_Click(Scope& s) {
  if (s.OperatingMode == kGenerator) {
    s.CursorSel = s.CursorSel == 0 ? 7 : 0;
  } else {
    // A, B, C, D, the math trace, E, off; the first displayed one after the current.
    const bool math = mathSelected(s);
    const int mathSel = s.SelAplusB == 1 ? 5 : 6;
    const int order[] = {1, 2, 3, 4, mathSel, 7, 0};
    auto shown = [&](int sel) {
      switch (sel) {
        case 1:
          return s.SelA == 1 && !math;
        case 2:
          return s.SelB == 1 && !math;
        case 3:
          return s.SelC == 1;
        case 4:
          return s.SelD == 1;
        case 5:
        case 6:
          return math;
        case 7:
          return s.SelE == 1;
        default:
          return true;
      }
    };
    int at = 6;
    for (int i = 0; i < 7; ++i)
      if (order[i] == s.CursorSel || (i == 4 && (s.CursorSel == 5 || s.CursorSel == 6))) at = i;
    do at = (at + 1) % 7;
    while (!shown(order[at]));
    s.CursorSel = order[at];
  }
  const int mode = s.OperatingMode;
  s.panel.ZoomButton.enabled =
      s.CursorSel > 0 && (mode == kScope || mode == kGenerator || mode == kScopeGen);
  s.panel.CURSINFO.setBackColour(s.CursorSel > 0 ? 0xC0FFFF : 0xC0C0C0);
  SDISPLAY(s);
  scrollcalca(s);
  scrollcalcB(s);
  scrollcalce(s);
  scrollcalcf(s);
  Scrollcalc(s);
}

void ZoomButton_Click(Scope& s) {
  if (s.CursorSel == 0) {
    s.panel.ZoomButton.enabled = false;
    return;
  }
  // The narrowest window redraws at once and may clip the cursor, so it is kept aside.
  const double cursor = s.CursorX;
  s.panel.HScroll2.setValue(256);
  s.CursorX = cursor;
  s.ScrollLast = currentScrollLast(s, s, s);
  s.LastShown = 2 * s.ScrollLast + 1;
  s.ViewStart = toInt16(s.panel.HScroll1.value() + s.CursorX / 2);
  s.CursorX = 0;
  s.ViewWidth = s.panel.HScroll2.value();
  clampViewWindow(s);
  // When the bar does not move (cursor at the left edge, or the window pulled back to
  // where it was) no change event redraws, yet the cursor moved to the left edge.
  const auto before = s.panel.ScopeScreen.clears;
  s.panel.HScroll1.setValue(s.ViewStart);
  if (s.panel.ScopeScreen.clears == before) HScroll1_Change(s);
}

}  // namespace qvx
