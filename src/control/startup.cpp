#include "control/startup.h"

#include <algorithm>
#include <array>

#include "acquisition/channels.h"
#include "acquisition/timebase.h"
#include "acquisition/trigger.h"
#include "bode/view.h"
#include "control/groups.h"
#include "control/layout.h"
#include "control/modes.h"
#include "control/shortcuts.h"
#include "control/start_values.h"
#include "control/wiring.h"
#include "core/remote_poll.h"
#include "counter/counter.h"
#include "device/link.h"
#include "device/port_panel.h"
#include "display/settings.h"
#include "files/calibration.h"
#include "generator/generator.h"
#include "measure/panel.h"
#include "printing/print.h"
#include "remote/command_file.h"

namespace qvx {

namespace {

void fill(SampleBuffer& buf, std::int32_t count, std::int16_t value) {
  std::fill_n(buf.begin(), std::clamp<std::size_t>(count, 0, buf.size()), value);
}

void hideStartControls(Panel& p) {
  const std::array<Widget*, 6> hidden = {&p.CopyAbutton, &p.CopyBbutton, &p.CopyEbutton,
                                         &p.CopyFbutton, &p.savename,    &p.DCDOWN};
  for (Widget* w : hidden) w->visible = false;
  p.ZoomButton.enabled = false;
}

void heading(PictureArea& box, const std::string& text) {
  box.cls();
  box.print(text);
}

// Headings, start captions and the pop-up panels, on top of the geometry.
void labelPanels(Scope& s) {
  Panel& p = s.panel;
  p.title = "QVX Scope";
  p.savename.text = "Untitled";

  heading(p.ModeText, "MODE");
  heading(p.Picture5, "TRIGGER");
  heading(p.Picture6, "DISPLAY");
  p.Picture6.printAt(p.Picture6.ScaleLeft, p.Picture6.ScaleTop + p.Picture6.ScaleHeight() * 0.4,
                     "Ch");
  p.Picture6.printAt(p.Picture6.ScaleLeft, p.Picture6.ScaleTop + p.Picture6.ScaleHeight() * 0.7,
                     "Dac");
  heading(p.Picture3, "CH A");
  heading(p.Picture4, "CH B");
  for (PictureArea* digital : {&p.Picture13, &p.Picture8}) {
    heading(*digital, digital == &p.Picture13 ? "CH C" : "CH D");
    digital->print("Digital");
    digital->print("X");
  }
  heading(p.samdisp, " SAMPLING RATE         SAMPLING SIZE");
  heading(p.GENPICTURE, "GENERATOR SETUP");
  p.FCntResetbutton.caption = "Start";

  for (PictureArea* popup : {&p.fileloadwindow, &p.filesavewindow, &p.printwindow, &p.helpwindow,
                             &p.CONFIGWINDOW, &p.Filesavefrec}) {
    popup->place = {0, 0, 11895, 8175};
    popup->visible = false;
  }
  p.ScopeScreen.place.width = 11900;
  p.ScopeScreen.place.height = 4780;
  p.ScopeScreen.setScaleHeight(s.ScreenHeight + 10);
  p.ScopeScreen.ScaleTop = -1;
  p.Trigwait.visible = false;

  p.TRESETBUTTON.caption = "Single";
  s.RepeatMode = 0;
  heading(p.DelayWin, "  Normal");
  s.TrigDelayMode = 0;
}

// The window position bar is set first: the width bar's change event redraws, and the
// redraw reads both.
void setScrollBars(Panel& p) {
  p.HScroll1.LargeChange = 1000;
  p.HScroll1.SmallChange = 1;
  p.HScroll2.setMin(256);
  p.HScroll2.setMax(32767);
  p.HScroll2.LargeChange = 1024;
  p.HScroll2.SmallChange = 64;
  p.HScroll2.setValue(1000);
}

void setCounterStartValues(Scope& s) {
  s.FCntSource = 0;
  s.FCntMode = 0;
  s.CounterRateCode = 0;
  s.CounterRegSel = 0;
  s.CounterControl = 0;
  s.CounterEnable = 0;
  s.CounterClear = 0;
}

}  // namespace

void Form_Load(Scope& s) {
  s.panel.windowPlace = {0, 0, 12050, 8610};
  s.panel.Picture5.CurrentX = 1;
  s.panel.Picture5.CurrentY = 1;
  wireHandlers(s);
}

void Form_Activate(Scope& s) {
  Panel& p = s.panel;

  p.focus = p.FFTbutton.name;
  SetFirstStartValues(s);
  hideStartControls(p);

  LayOutPanels(s);
  labelPanels(s);

  UtilBoxSetup(s);
  // Every control has its place now, the adjustment panel's included.
  p.tabOrder = tabOrderOf(p);
  CheckCal(s);

  SetFurtherStartValues(s);

  for (SampleBuffer* buf : {&s.BufA, &s.BufB, &s.BufC, &s.BufD, &s.GenTable})
    fill(*buf, s.DeviceMemSize, 2048);

  setScrollBars(p);
  s.SampleCount = 1024 * (1 << (s.SizeIndexA + 1));
  s.PortIdle = 0;
  setCounterStartValues(s);

  FCntOFF(s);
  CountDisplay(s);

  Checkconfig(s);
  initport(s);
  if (s.ModelCode == 0) Configport(s, nothingAnsweredOn(s.LptNumber));

  // Every mode and channel B stay selectable until the first run probes again.
  s.ChanBFitted = 64;
  s.GenFitted = 1;
  s.PretrigPoints = 1;
  s.SampleCount = 360;
  s.DacLastIndex = 360;

  s.host.DoEvents();
  s.host.Sleep(500);
  p.CURSINFO.cls();

  if (s.ModelCode != 0) {
    DACZERO(s);
    SETCHAB(s);
  }

  p.GENFREQDISP.fontSize = 9;
  p.Picture7.print("<--up-- X Magnify --down-->");

  CHANA(s);
  CHANB(s);
  CHANE(s);
  CHANF(s);
  TRIGGER(s);
  DSAMPLE(s);
  GENDISP(s);
  RANGEBENABLE(s);

  p.focus = p.GOBUTTON.name;
  p.SCOPEMODE.enabled = true;

  scrollcalca(s);
  scrollcalcB(s);
  scrollcalce(s);
  scrollcalcf(s);
  SMODEDISP(s);

  p.Timer2.setInterval(1);
  resumeRemotePoll(s);
  restoreMeasurements(s);
  restoreBode(s);
}

void Timer1_Timer(Scope& s) {
  if (s.TrigMarkOn == 1) {
    s.TrigMarkOn = 0;
    TRIGGER(s);
    trcursdraw(s);
  }
  s.panel.Timer1.setEnabled(false);
}

// The poll stays off while it runs, so a command that starts a run cannot be
// re-entered by the next tick.
void Timer2_Timer(Scope& s) {
  holdRemotePoll(s);
  RemoteCommand(s);
  s.panel.Timer2.setInterval(1);
  resumeRemotePoll(s);
}

void Command22_Click(Scope& s) {
  if (s.host.MsgBox("EXIT Scope Program ?", mb::OKCancel, "Exit Confirmation") == mb::AnswerOK)
    Form_Unload(s);
}

void Command1_Click(Scope& s) {
  holdRemotePoll(s);
  s.panel.focus = s.panel.FFTbutton.name;
  printscope(s);
  resumeRemotePoll(s);
}

// The window can be closed by EXIT and by its close box; the port driver is released
// the first time only.
void Form_Unload(Scope& s) {
  if (s.unloaded) return;
  s.port.Shutdown();
  s.unloaded = true;
}

}  // namespace qvx
