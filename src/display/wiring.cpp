#include "display/wiring.h"

#include "display/cursor.h"
#include "display/render.h"
#include "display/settings.h"

namespace qvx {

void wireDisplay(Scope& s) {
  Panel& p = s.panel;
  auto on = [&s](void (*handler)(Scope&)) { return [&s, handler] { handler(s); }; };
  auto onKey = [&s](void (*handler)(Scope&)) { return [&s, handler](int) { handler(s); }; };

  p.HScroll1.onChange = on(HScroll1_Change);
  p.HScroll2.onChange = on(HScroll2_Change);
  p.ScopeScreen.onClick = on(ScopeScreen_Click);

  p.Command13.onClick = on(Command13_Click);
  p.Command15.onClick = on(Command15_Click);
  p.Command16.onClick = on(Command16_Click);
  p.Command12.onClick = on(Command12_Click);
  p.YMagAbutton.onClick = on(YMagAbutton_Click);
  p.YMagBbutton.onClick = on(YMagBbutton_Click);
  p.YMagEbutton.onClick = on(YMagEbutton_Click);
  p.YMagFbutton.onClick = on(YMagFbutton_Click);
  p.scrollupA.onClick = on(scrollupA_Click);
  p.scrolldownA.onClick = on(scrolldownA_Click);
  p.scrollupB.onClick = on(scrollupB_Click);
  p.scrolldownB.onClick = on(scrolldownB_Click);
  p.scrollupE.onClick = on(scrollupE_Click);
  p.scrolldownE.onClick = on(scrolldownE_Click);
  p.scrollupF.onClick = on(scrollupF_Click);
  p.scrolldownF.onClick = on(scrolldownF_Click);
  p.Scrollup.onClick = on(Scrollup_Click);
  p.scrolldown.onClick = on(scrolldown_Click);

  p.Command23.onClick = on(Command23_Click);
  p.Command24.onMouseDown = on(Command24_MouseDown);
  p.Command25.onMouseDown = on(Command25_MouseDown);
  p.Command26.onMouseDown = on(Command26_MouseDown);
  p.Command27.onMouseDown = on(Command27_MouseDown);
  p.Command24.onMouseUp = on(Command24_MouseUp);
  p.Command25.onMouseUp = on(Command25_MouseUp);
  p.Command26.onMouseUp = on(Command26_MouseUp);
  p.Command27.onMouseUp = on(Command27_MouseUp);
  p.Command25.onKeyPress = onKey(Command25_KeyPress);
  p.Command26.onKeyPress = onKey(Command26_KeyPress);
  p.Command27.onKeyPress = onKey(Command27_KeyPress);
  p.ZoomButton.onClick = on(ZoomButton_Click);
}

}  // namespace qvx
