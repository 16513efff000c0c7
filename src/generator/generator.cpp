#include "generator/generator.h"

namespace qvx {

void wireGenerator(Scope& s) {
  Panel& p = s.panel;
  auto on = [&s](void (*handler)(Scope&)) { return [&s, handler] { handler(s); }; };

  p.GENUPDATEBUTTON.onClick = on(GENUPDATEBUTTON_Click);
  p.GENMODEBUTTON.onMouseDown = on(GENMODEBUTTON_MouseDown);
  p.GENSTYLEBUTTON.onMouseDown = on(GENSTYLEBUTTON_MouseDown);
  p.GENAMPBUTTON.onClick = on(GENAMPBUTTON_Click);
  p.SWRATIOBUTTON.onClick = on(SWRATIOBUTTON_Click);
  p.GENLFREQBUTTONN.onMouseDown = on(GENLFREQBUTTONN_MouseDown);
  p.GENLFREQBUTTONP.onMouseDown = on(GENLFREQBUTTONP_MouseDown);
  p.GENSFREQBUTTONN.onMouseDown = on(GENSFREQBUTTONN_MouseDown);
  p.GENSFREQBUTTONP.onMouseDown = on(GENSFREQBUTTONP_MouseDown);
  p.GENLFREQBUTTONN.onMouseUp = on(GENLFREQBUTTONN_MouseUp);
  p.GENLFREQBUTTONP.onMouseUp = on(GENLFREQBUTTONP_MouseUp);
  p.GENSFREQBUTTONN.onMouseUp = on(GENSFREQBUTTONN_MouseUp);
  p.GENSFREQBUTTONP.onMouseUp = on(GENSFREQBUTTONP_MouseUp);
  p.DCUP.onClick = on(DCUP_Click);
  p.DCDOWN.onClick = on(DCDOWN_Click);
}

}  // namespace qvx
