#include "acquisition/trigger.h"

#include <cmath>

#include "core/auto_repeat.h"
#include "panel/numeric.h"

namespace qvx {

namespace {
constexpr int kGeneratorMode = 1, kScopeGenMode = 2, kCounterMode = 3;
constexpr Colour kGrey = 0xC0C0C0;

int nextOf(int v, int last) {
  return v + 1 > last ? 0 : v + 1;
}

bool levelApplies(const RunState& run, const TriggerState& trig) {
  return !((trig.TrigMode == 0 && run.OperatingMode != kCounterMode) || trig.TrigSource > 1);
}

void enableLevelButtons(Panel& p, bool on) {
  for (Button* b : {&p.TriglevelBUTTON, &p.TRLARGEN, &p.TRSMALLN, &p.TRLARGEP, &p.TRSMALLP})
    b->enabled = on;
}

Colour sourceColour(const TriggerState& trig, const RenderState& render) {
  switch (trig.TrigSource) {
    case 0:
      return render.TraceColour[0];
    case 1:
      return 0xC000;
    case 2:
      return render.TraceColour[4];
    default:
      return render.TraceColour[5];
  }
}

// The marker's screen line for source A or B: the channel's zero line, displaced by
// the level times the channel's magnification.
double markerY(const TriggerState& trig, const RenderState& render, const VerticalState& vert) {
  if (trig.TrigSource == 0) return render.BaseA + (trig.TrigCursorY - 2048) * vert.MagA;
  return render.BaseB + (trig.TrigCursorY - 2048) * vert.MagB;
}

int magnificationIndex(const TriggerState& trig, const VerticalState& vert) {
  if (trig.TrigSource == 0) return vert.MagIndexA;
  if (trig.TrigSource == 1) return vert.MagIndexB;
  return 0;
}

enum class Size { Large, Small };
enum class Direction { Lower, Raise };

// One step of the level; lowering moves the marker down the screen (larger y).
void stepLevel(Scope& s, Size size, Direction dir) {
  const double base = size == Size::Large ? s.TrigStepLarge : s.TrigStepSmall;
  const double step = base / (1 + 2 * magnificationIndex(s, s));
  moveTriggerLevel(s, dir == Direction::Lower ? s.TrigCursorY + step : s.TrigCursorY - step);
}

bool stepOnce(Scope& s, Size size, Direction dir) {
  TriggerSetCheck(s, s);
  if (s.TrigMarkOn == 0) return false;
  stepLevel(s, size, dir);
  return true;
}

void levelKey(Scope& s, Size size, Direction dir) {
  stepOnce(s, size, dir);
}

void levelMouseDown(Scope& s, Size size, Direction dir) {
  if (!stepOnce(s, size, dir)) return;
  repeatWhileHeld(s, [&] { stepLevel(s, size, dir); });
}

void levelMouseUp(CursorState& s) {
  s.CursorButtonHeld = 0;
}
}  // namespace

void moveTriggerLevel(Scope& s, double y) {
  if (y > s.ScreenHeight - 10) y = s.ScreenHeight - 10;
  if (y < 10) y = 10;
  s.TrigCursorY = y;
  trcursdraw(s);
}

bool setTriggerLevelVolts(Scope& s, double volts) {
  TriggerSetCheck(s, s);
  if (s.TrigMarkOn == 0) return false;
  // The readout's scale turned round: 2040 screen units a volt of the 1 V range.
  const int rangeStep = s.TrigSource == 0 ? s.RangeStepA : s.RangeStepB;
  moveTriggerLevel(s, 2048 - volts / std::pow(10.0, rangeStep) * 2040);
  return true;
}

std::string levelText(float volts) {
  const std::string field = "      " + numberText(volts);
  return field.substr(field.size() - 7);
}

void TriggerSetCheck(const RunState& run, TriggerState& trig) {
  trig.TrigMarkOn = levelApplies(run, trig) ? 1 : 0;
}

void TRIGGER(Scope& s) {
  Panel& p = s.panel;
  PictureArea& pic = p.Picture5;
  pic.cls();
  // The heading names the panel in every mode, as the other panels' headings do; in the
  // generator modes it stands alone.
  pic.foreColour = 0;
  pic.printAt(200, 1, "TRIGGER");
  if (s.OperatingMode == kGeneratorMode || s.OperatingMode == kScopeGenMode) {
    p.DelayWin.visible = false;
  } else {
    p.DelayWin.visible = true;
    static const char* const kMode[] = {"  INST  ", "  TRIG  ", " Trig(f)"};
    const int mode = s.TrigMode >= 0 && s.TrigMode <= 2 ? s.TrigMode : 0;
    pic.foreColour = mode == 2 ? 127 : 25;
    pic.printAt(525, 120, kMode[mode]);
    enableLevelButtons(p, mode != 0);
    p.TRESETBUTTON.enabled = true;
    p.levelval.setBackColour(mode == 0 ? kGrey : mode == 1 ? 0xC0FFFF : 0xC0CFFF);

    static const char* const kSource[] = {"CH A ", "CH B ", "CH C ", "CH D "};
    pic.foreColour = sourceColour(s, s);
    pic.printAt(575, 370, kSource[s.TrigSource & 3]);

    const double size = pic.fontSize;
    pic.fontSize = 14;
    if (s.TrigSlope == 1) {
      pic.printAt(595, 480, " + ");
    } else {
      pic.printAt(595, 470, " \u2013 ");
    }
    pic.fontSize = size;

    static const char* const kPretrig[] = {"OFF ", " 10  ", "100 "};
    pic.printAt(575, 620,
                kPretrig[s.PretrigIndex >= 0 && s.PretrigIndex <= 2 ? s.PretrigIndex : 0]);

    if (s.TrigMarkOn > 0) {
      p.TriglevelBUTTON.fontBold = true;
      if (s.TrigSource == 0) s.TrigMarkColourNext = s.TraceColour[0];
      if (s.TrigSource == 1) s.TrigMarkColourNext = s.TraceColour[1];
    } else {
      p.TriglevelBUTTON.fontBold = false;
      s.TrigMarkColourNext = 0;
    }
  }
  p.TRESETBUTTON.caption = s.RepeatMode != 0 ? "Repeat" : "Single";

  const double size = pic.fontSize;
  pic.fontSize = 8;
  pic.foreColour = 0x402050;
  pic.printAt(190, 770, "Trigger Level");
  pic.fontSize = size;
  pic.foreColour = 0;
  s.host.Sleep(50);
}

void trcursdraw(Scope& s) {
  const bool analogueSource = s.TrigSource <= 1;
  if (s.TrigMarkOn != 0 || s.TrigMarkDrawn != 0) {
    PictureArea& screen = s.panel.ScopeScreen;
    screen.drawMode = DrawMode::NotXorPen;
    screen.DrawWidth = 2;
    const double width = screen.ScaleWidth();
    // Drawn by inverting: drawing the old line again removes it.
    if (s.TrigMarkDrawn == 1) {
      screen.line(0, s.TrigMarkY, width, s.TrigMarkY, s.TrigMarkColour);
    } else {
      s.TrigMarkDrawn = 1;
    }
    const double y = analogueSource ? markerY(s, s, s) : s.TrigMarkY;
    if (s.TrigMarkOn > 0 && analogueSource) screen.line(0, y, width, y, s.TrigMarkColourNext);
    if (s.TrigMarkOn == 0) s.TrigMarkDrawn = 0;
    if (analogueSource) s.TrigMarkY = y;
    s.TrigMarkColour = s.TrigMarkColourNext;
    screen.drawMode = DrawMode::CopyPen;
    screen.DrawWidth = 1;
  }

  PictureArea& readout = s.panel.levelval;
  if (s.TrigMode == 0) {
    readout.setBackColour(kGrey);
    return;
  }
  readout.cls();
  float norm = static_cast<float>(floorInt(10 * (2048 - s.TrigCursorY) / 20.4 + 0.5) / 1000.0);
  if (s.TrigSource == 0) norm *= static_cast<float>(std::pow(10.0, s.RangeStepA));
  if (s.TrigSource == 1) norm *= static_cast<float>(std::pow(10.0, s.RangeStepB));
  s.TrigLevelNorm = norm;
  readout.foreColour = norm < 0 ? 255 : 0;
  readout.print(analogueSource ? levelText(norm) : " Logic");
  if (s.TrigMarkOn > 0 && s.MarkerTimerArm == 1) {
    Timer& t = s.panel.Timer1;
    t.setEnabled(false);
    t.setInterval(3000);
    t.setEnabled(true);
  }
  s.TrigLevelCode = toInt16(s.ScreenHeight - s.TrigCursorY);
}

void TMODEBUTTON_MouseDown(Scope& s) {
  s.TrigMode = nextOf(s.TrigMode, 2);
  if (s.TrigMode == 0) s.TrigMarkOn = 0;
  TRIGGER(s);
  trcursdraw(s);
}

void TSOURCEBUTTON_MouseDown(Scope& s) {
  s.TrigSource = nextOf(s.TrigSource, 3);
  if (s.TrigSource > 1) s.TrigMarkOn = 0;
  TRIGGER(s);
  trcursdraw(s);
  if (s.runControl.measure) s.runControl.measure(s);
}

void TSLOPEBUTTON_MouseDown(Scope& s) {
  s.TrigSlope = -s.TrigSlope;
  TRIGGER(s);
  trcursdraw(s);
}

void PRETRIGBUTTON_MouseDown(Scope& s) {
  s.PretrigIndex = nextOf(s.PretrigIndex, 2);
  TRIGGER(s);
  trcursdraw(s);
}

void TRESETBUTTON_Click(Scope& s) {
  s.RepeatMode = nextOf(s.RepeatMode, 1);
  TRIGGER(s);
  trcursdraw(s);
  s.panel.focus = "FFTbutton";
}

void TriglevelBUTTON_MouseDown(Scope& s) {
  s.TrigMarkOn = levelApplies(s, s) ? nextOf(s.TrigMarkOn, 1) : 0;
  trcursdraw(s);
}

void DelayWin_Click(Scope& s) {
  s.TrigDelayMode = nextOf(s.TrigDelayMode, 1);
  PictureArea& box = s.panel.DelayWin;
  box.cls();
  if (s.TrigDelayMode == 1) {
    box.setBackColour(0x8080FF);
    box.print("   Delay");
  } else {
    box.setBackColour(0xC0FFC0);
    box.print("  Normal");
  }
}

void TRLARGEN_MouseDown(Scope& s) {
  levelMouseDown(s, Size::Large, Direction::Lower);
}
void TRLARGEN_MouseUp(Scope& s) {
  levelMouseUp(s);
}
void TRLARGEN_KeyPress(Scope& s) {
  levelKey(s, Size::Large, Direction::Lower);
}
void TRLARGEP_MouseDown(Scope& s) {
  levelMouseDown(s, Size::Large, Direction::Raise);
}
void TRLARGEP_MouseUp(Scope& s) {
  levelMouseUp(s);
}
void TRLARGEP_KeyPress(Scope& s) {
  levelKey(s, Size::Large, Direction::Raise);
}
void TRSMALLN_MouseDown(Scope& s) {
  levelMouseDown(s, Size::Small, Direction::Lower);
}
void TRSMALLN_MouseUp(Scope& s) {
  levelMouseUp(s);
}
void TRSMALLN_KeyPress(Scope& s) {
  levelKey(s, Size::Small, Direction::Lower);
}
void TRSMALLP_MouseDown(Scope& s) {
  levelMouseDown(s, Size::Small, Direction::Raise);
}
void TRSMALLP_MouseUp(Scope& s) {
  levelMouseUp(s);
}
void TRSMALLP_KeyPress(Scope& s) {
  levelKey(s, Size::Small, Direction::Raise);
}

}  // namespace qvx
