#include "acquisition/wiring.h"

#include "acquisition/channels.h"
#include "acquisition/timebase.h"
#include "acquisition/trigger.h"

namespace qvx {

namespace {
using Handler = void (*)(Scope&);

void onClick(Scope& s, Widget& w, Handler h) {
  w.onClick = [&s, h] { h(s); };
}

void onMouseDown(Scope& s, Widget& w, Handler h) {
  w.onMouseDown = [&s, h] { h(s); };
}

void onKey(Scope& s, Widget& w, Handler h) {
  w.onKeyPress = [&s, h](int) { h(s); };
}

void onHeld(Scope& s, Widget& w, Handler down, Handler up, Handler key) {
  onMouseDown(s, w, down);
  w.onMouseUp = [&s, up] { up(s); };
  onKey(s, w, key);
}
}  // namespace

void wireAcquisition(Scope& s) {
  Panel& p = s.panel;

  onMouseDown(s, p.SRATEN, SRATEN_MouseDown);
  onKey(s, p.SRATEN, SRATEN_KeyPress);
  onMouseDown(s, p.SRATEP, SRATEP_MouseDown);
  onKey(s, p.SRATEP, SRATEP_KeyPress);
  onMouseDown(s, p.SSIZEN, SSIZEN_MouseDown);
  onKey(s, p.SSIZEN, SSIZEN_KeyPress);
  onMouseDown(s, p.SSIZEP, SSIZEP_MouseDown);
  onKey(s, p.SSIZEP, SSIZEP_KeyPress);

  onClick(s, p.SCHAbutton, SCHAbutton_Click);
  onClick(s, p.SCHBbutton, SCHBbutton_Click);
  onClick(s, p.SCHEbutton, SCHEbutton_Click);
  onClick(s, p.SCHFbutton, SCHFbutton_Click);
  onClick(s, p.Command2, Command2_Click);
  onClick(s, p.Command7, Command7_Click);
  onClick(s, p.Command3, Command3_Click);
  onClick(s, p.Command6, Command6_Click);
  onClick(s, p.Command4, Command4_Click);
  onClick(s, p.Command5, Command5_Click);

  onMouseDown(s, p.TMODEBUTTON, TMODEBUTTON_MouseDown);
  onMouseDown(s, p.TSOURCEBUTTON, TSOURCEBUTTON_MouseDown);
  onMouseDown(s, p.TSLOPEBUTTON, TSLOPEBUTTON_MouseDown);
  onMouseDown(s, p.PRETRIGBUTTON, PRETRIGBUTTON_MouseDown);
  onClick(s, p.TRESETBUTTON, TRESETBUTTON_Click);
  onMouseDown(s, p.TriglevelBUTTON, TriglevelBUTTON_MouseDown);
  onClick(s, p.DelayWin, DelayWin_Click);
  onHeld(s, p.TRLARGEN, TRLARGEN_MouseDown, TRLARGEN_MouseUp, TRLARGEN_KeyPress);
  onHeld(s, p.TRLARGEP, TRLARGEP_MouseDown, TRLARGEP_MouseUp, TRLARGEP_KeyPress);
  onHeld(s, p.TRSMALLN, TRSMALLN_MouseDown, TRSMALLN_MouseUp, TRSMALLN_KeyPress);
  onHeld(s, p.TRSMALLP, TRSMALLP_MouseDown, TRSMALLP_MouseUp, TRSMALLP_KeyPress);
}

}  // namespace qvx
