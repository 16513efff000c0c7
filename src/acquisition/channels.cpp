#include "acquisition/channels.h"

#include "acquisition/trigger.h"
#include "device/link.h"

namespace qvx {

namespace {
constexpr Colour kPanelOff = 0x404040, kPanelOn = 0x808080;

int toggledOn(int flag) {
  return flag != 1 ? 1 : 0;
}
int nextOfTwo(int v) {
  return v + 1 > 1 ? 0 : v + 1;
}

// The on/off look shared by all four channel panels; the button names the action.
void drawOnOff(PictureArea& pic, Button& onOff, int on) {
  pic.setBackColour(on == 1 ? kPanelOn : kPanelOff);
  onOff.caption = on == 1 ? "OFF" : "ON";
}

struct AnalogueView {
  PictureArea& pic;
  Button& onOff;
  Button& coupling;
  int on, range, probe, couplingValue;
  int& rangeStep;
  const char* label;
  Colour offColour, traceColour;
};

void drawAnalogue(Scope& s, const AnalogueView& v) {
  PictureArea& p = v.pic;
  drawOnOff(p, v.onOff, v.on);
  v.rangeStep = v.range + v.probe;

  p.fontSize = 8;
  p.foreColour = v.probe == 0 ? 25 : 127;
  p.printAt(690, 730, v.probe == 0 ? "x 1  " : "x10");
  p.printAt(675, 90, rangeReadout(v.rangeStep));

  const Colour previous = p.foreColour;
  p.foreColour = 1;
  p.printAt(790, 400, "X");
  p.foreColour = previous;

  v.coupling.caption = v.couplingValue == -1 ? "AC" : "DC";

  p.fontSize = 10;
  p.foreColour = v.on == 1 ? v.traceColour : v.offColour;
  p.printAt(40, 100, v.label);
  s.panel.focus = "FFTbutton";
}

void drawDigital(Scope& s, PictureArea& p, Button& onOff, int on, const char* label,
                 Colour colour) {
  drawOnOff(p, onOff, on);
  p.fontSize = 10;
  p.foreColour = colour;
  p.printAt(50, 150, label);
  p.fontSize = 8;
  p.printAt(70, 5, "Digital");
  s.panel.focus = "FFTbutton";
}

void warnProbe(Scope& s, int probe) {
  if (probe == 1) s.host.MsgBox(kProbeWarning, mb::Critical + mb::DefaultButton2, "WARNING");
}

int frontEndByte(const DeviceState& dev, const ChannelState& chan, const CounterState& counter) {
  return chan.ChannelConfig + (dev.ModelCode == 2 ? 16 : 0) + 32 * counter.CounterEnable +
         128 * counter.CounterClear;
}
}  // namespace

std::string rangeReadout(int rangeStep) {
  switch (rangeStep) {
    case 0:
      return "1.0V  ";
    case 1:
      return " 10V  ";
    default:
      return "100V  ";
  }
}

int channelConfigByte(const ChannelState& chan, const TriggerState& trig) {
  int config = 0;
  if (chan.RangeA == 1) config += 1;
  config += 1 - chan.CouplingA;
  config += 2 * (1 - chan.CouplingB);
  if (chan.RangeB == 1) config += 8;
  if (trig.TrigMode == 2) config += 64;
  return config;
}

void CHANA(Scope& s) {
  Panel& p = s.panel;
  drawAnalogue(s, {p.Picture3, p.SCHAbutton, p.Command2, s.ChanAOn, s.RangeA, s.ProbeA, s.CouplingA,
                   s.RangeStepA, "CH A", 0xD80000, s.TraceColour[0]});
}

void CHANB(Scope& s) {
  Panel& p = s.panel;
  drawAnalogue(s, {p.Picture4, p.SCHBbutton, p.Command7, s.ChanBOn, s.RangeB, s.ProbeB, s.CouplingB,
                   s.RangeStepB, "CH B", 0xC000, s.TraceColour[1]});
}

void CHANE(Scope& s) {
  drawDigital(s, s.panel.Picture13, s.panel.SCHEbutton, s.ChanCOn, "CH C", 0xDC9C3D);
}

void CHANF(Scope& s) {
  drawDigital(s, s.panel.Picture8, s.panel.SCHFbutton, s.ChanDOn, "CH D", s.TraceColour[5]);
}

void SETCHAB(Scope& s) {
  WriteReg(s, 38, 4);
  ClockPair(s, s.CounterControl, frontEndByte(s, s, s));
  WriteReg(s, s.PortIdle, 4);
}

void setchabF(Scope& s) {
  const int digitalSource = s.TrigSource > 1 ? 64 : 0;
  const int value = s.CounterRateCode + 32 + digitalSource;
  const int reg = s.CounterRegSel + 64 * (s.TrigSource & 1) + 64 * (1 - s.TrigSlope);
  WriteReg(s, value, reg);
  ClockPair(s, s.CounterControl, frontEndByte(s, s, s));
}

void SCHAbutton_Click(Scope& s) {
  s.ChanAOn = toggledOn(s.ChanAOn);
  s.runControl.showMode(s);
  CHANA(s);
}

void SCHBbutton_Click(Scope& s) {
  s.ChanBOn = toggledOn(s.ChanBOn);
  s.runControl.showMode(s);
  CHANB(s);
}

void SCHEbutton_Click(Scope& s) {
  s.ChanCOn = toggledOn(s.ChanCOn);
  s.runControl.showMode(s);
  CHANE(s);
}

void SCHFbutton_Click(Scope& s) {
  s.ChanDOn = toggledOn(s.ChanDOn);
  s.runControl.showMode(s);
  CHANF(s);
}

void Command2_Click(Scope& s) {
  s.CouplingA = -s.CouplingA;
  CHANA(s);
}

void Command7_Click(Scope& s) {
  s.CouplingB = -s.CouplingB;
  CHANB(s);
}

void Command3_Click(Scope& s) {
  s.RangeA = nextOfTwo(s.RangeA);
  CHANA(s);
  trcursdraw(s);
}

void Command6_Click(Scope& s) {
  s.RangeB = nextOfTwo(s.RangeB);
  CHANB(s);
  trcursdraw(s);
}

void Command4_Click(Scope& s) {
  s.ProbeA = nextOfTwo(s.ProbeA);
  CHANA(s);
  warnProbe(s, s.ProbeA);
  trcursdraw(s);
}

void Command5_Click(Scope& s) {
  s.ProbeB = nextOfTwo(s.ProbeB);
  CHANB(s);
  warnProbe(s, s.ProbeB);
  trcursdraw(s);
}

}  // namespace qvx
