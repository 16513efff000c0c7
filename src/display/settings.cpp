#include "display/settings.h"

#include <algorithm>

#include "acquisition/timebase.h"
#include "display/cursor.h"
#include "display/render.h"
#include "display/render_parts.h"
#include "display/text_field.h"
#include "panel/numeric.h"

namespace qvx {

using namespace display;

namespace {

constexpr Colour kMoved = 0x8080FF;    // position away from the centre, or magnified
constexpr Colour kCentred = 0xC0FFC0;  // at the centre, or x1

// One magnification step: factor, screen shift and label offset per position step, and
// the position limit. A trace moves (factor + 1) x shift = about one division per step.
struct Step {
  double factor, shift, offset;
  int limit;
};
constexpr Step kAnalogue[] = {
    {1, 256, 0.25, 4}, {2, 170.6, 0.125, 8}, {5, 85.3, 0.05, 20}, {10, 46.5, 0.025, 40}};
constexpr Step kMath[] = {{1, 159, 0.3, 4}, {2, 106, 0.15, 8}, {5, 53, 0.06, 32}};

const Step& analogueStep(int index) {
  return kAnalogue[std::clamp(index, 0, 3)];
}
// C and D have the first three steps of A and B.
const Step& digitalStep(int index) {
  return kAnalogue[std::clamp(index, 0, 2)];
}
const Step& mathStep(int index) {
  return kMath[std::clamp(index, 0, 2)];
}

bool verticalLocked(const RunState& s) {
  return s.OperatingMode == kGenerator || s.OperatingMode == kFft;
}

void showFactor(PictureArea& button, double factor, double x) {
  button.cls();
  button.printAt(factor == 10 ? 10 : x, 0, plainNumber(factor));
}

// Each position button draws its own arrow on a colour that tells which way the trace
// has been moved.
void paintPositionButtons(PictureArea& up, PictureArea& down, double position) {
  up.setBackColour(position < 0 ? kMoved : kCentred);
  up.line(10, 150, 95, 10);
  up.line(95, 10, 190, 150);
  down.setBackColour(position > 0 ? kMoved : kCentred);
  down.line(10, 40, 95, 170);
  down.line(95, 170, 190, 20);
}

template <typename T>
void moveBy(Scope& s, T& position, int delta, int limit) {
  position += delta;
  if (position > limit) position = limit;
  if (position < -limit) position = -limit;
  HScroll1_Change(s);
}

void magnifyAnalogue(Scope& s, int& index, double& position) {
  if (verticalLocked(s)) return;
  ++index;
  if (index > 3) {
    index = 0;
    position = static_cast<double>(floorInt(position / 10));
  }
  // The position is rescaled so the trace keeps its place in volts.
  static constexpr double kRescale[] = {1, 2, 2.5, 2};
  if (index > 0) position = static_cast<double>(floorInt(position * kRescale[index]));
  SDISPLAY(s);
  HScroll1_Change(s);
}

template <typename T>
void magnifyDigital(Scope& s, int& index, T& position) {
  if (verticalLocked(s)) return;
  ++index;
  if (index > 2) {
    index = 0;
    position = std::clamp<T>(position, -3, 3);
  }
  SDISPLAY(s);
  HScroll1_Change(s);
}

void toggle(Scope& s, int& flag) {
  flag = -flag;
  SDISPLAY(s);
  HScroll1_Change(s);
}

void setBold(Scope& s) {
  Panel& p = s.panel;
  p.Command13.fontBold = s.GridOn == 1;
  p.Command15.fontBold = s.JoinOn == 1;
  p.Command16.fontBold = s.UnitsOn == 1;
  p.Command17.fontBold = s.SelA == 1;
  p.Command18.fontBold = s.SelB == 1;
  p.Command19.fontBold = s.SelE == 1;
  p.Command8.fontBold = s.SelC == 1;
  p.Command9.fontBold = s.SelD == 1;
  p.Command20.fontBold = s.SelAplusB == 1;
  p.Command21.fontBold = s.SelAminusB == 1;
  p.Command23.fontBold = s.CursorSel > 0;
}

Colour cursorColourOf(const RenderState& render, const CursorState& cursor) {
  switch (cursor.CursorSel) {
    case 1:
      return 0xE00000;
    case 2:
      return 0x00E000;
    case 3:
      return render.TraceColour[4];
    case 4:
      return render.TraceColour[5];
    case 5:
    case 6:
      return render.TraceColour[3];
    case 7:
      return render.TraceColour[2];
    default:
      return 0;
  }
}

void showCursorName(Scope& s) {
  static const char* kNames[] = {"      ", " A   ", " B   ", " C   ",
                                 " D   ",  "A+B",   "A-B ",  " E  "};
  const int sel = std::clamp(s.CursorSel, 0, 7);
  const bool math = sel == 5 || sel == 6;
  printOver(s.panel.Picture6, math ? 780 : 760, 900, kNames[sel], {math ? 8.0 : 10.0, false, 0});
}

void showMathMagnification(Scope& s) {
  Panel& p = s.panel;
  std::string text = "       ";
  s.MagMath = 1;
  if (s.OperatingMode == kScope || s.OperatingMode == kScopeGen) {
    const bool math = mathSelected(s);
    p.Scrollup.visible = p.scrolldown.visible = math && s.MathMagIndex > 0;
    p.TriglevelBUTTON.enabled = !math;
    p.Command12.enabled = math;
    if (math) {
      static const char* kTexts[] = {" x 1 ", " x 2 ", " x 5 "};
      const int index = std::clamp(s.MathMagIndex, 0, 2);
      text = kTexts[index];
      s.MagMath = static_cast<int>(mathStep(index).factor);
    }
  } else {
    p.Command12.enabled = false;
  }
  printOver(p.Picture6, 710, 500, text, {8, true, s.TraceColour[3] + 32});
}

}  // namespace

void scrollcalca(Scope& s) {
  const Step& st = analogueStep(s.MagIndexA);
  showFactor(s.panel.YMagAbutton, st.factor, 70);
  s.MagA = st.factor;
  paintPositionButtons(s.panel.scrollupA, s.panel.scrolldownA, s.PosStepA);
  s.AxisOffsetA = s.PosStepA * st.offset;
  s.ShiftA = s.PosStepA * st.shift;
}

void scrollcalcB(Scope& s) {
  const Step& st = analogueStep(s.MagIndexB);
  showFactor(s.panel.YMagBbutton, st.factor, 70);
  s.MagB = st.factor;
  paintPositionButtons(s.panel.scrollupB, s.panel.scrolldownB, s.PosStepB);
  s.AxisOffsetB = s.PosStepB * st.offset;
  s.ShiftB = s.PosStepB * st.shift;
}

void scrollcalce(Scope& s) {
  const Step& st = digitalStep(s.MagIndexC);
  showFactor(s.panel.YMagEbutton, st.factor, 40);
  s.MagC = st.factor;
  paintPositionButtons(s.panel.scrollupE, s.panel.scrolldownE, s.PosStepC);
  s.AxisOffsetC = s.PosStepC * st.offset;
  s.ShiftC = static_cast<int>(roundHalfEven(s.PosStepC * st.shift));
}

void scrollcalcf(Scope& s) {
  const Step& st = digitalStep(s.MagIndexD);
  showFactor(s.panel.YMagFbutton, st.factor, 40);
  s.MagD = static_cast<int>(st.factor);
  paintPositionButtons(s.panel.scrollupF, s.panel.scrolldownF, s.PosStepD);
  s.AxisOffsetD = s.PosStepD * st.offset;
  s.ShiftD =
      s.MagIndexD == 0 ? s.PosStepD * 256 : static_cast<int>(roundHalfEven(s.PosStepD * st.shift));
}

void Scrollcalc(Scope& s) {
  const Step& st = mathStep(s.MathMagIndex);
  paintPositionButtons(s.panel.Scrollup, s.panel.scrolldown, s.PosStepMath);
  s.AxisOffsetMath = s.PosStepMath * st.offset;
  s.ShiftMath = s.PosStepMath * st.shift;
}

void SDISPLAY(Scope& s) {
  curtest(s);
  setBold(s);
  s.CursorColour = cursorColourOf(s, s);
  showCursorName(s);
  s.panel.CURSINFO.setBackColour(s.CursorSel > 0 ? 0xC0FFFF : 0xC0C0C0);
  Panel& p = s.panel;
  p.YMagAbutton.backColour = s.MagIndexA > 0 ? kMoved : kCentred;
  p.YMagBbutton.backColour = s.MagIndexB > 0 ? kMoved : kCentred;
  p.YMagEbutton.backColour = s.MagIndexC > 0 ? kMoved : kCentred;
  p.YMagFbutton.backColour = s.MagIndexD > 0 ? kMoved : kCentred;
  showMathMagnification(s);
  cursdraw(s);
  DSAMPLE(s);
  p.focus = "FFTbutton";
}

void Command13_Click(Scope& s) {
  toggle(s, s.GridOn);
}
void Command15_Click(Scope& s) {
  toggle(s, s.JoinOn);
}
void Command16_Click(Scope& s) {
  toggle(s, s.UnitsOn);
}

void Command12_Click(Scope& s) {
  if (verticalLocked(s)) return;
  if (++s.MathMagIndex > 2) s.MathMagIndex = 0;
  if (s.MathMagIndex == 0) {
    s.PosStepMath = 0;
    s.AxisOffsetMath = 0;
    s.ShiftMath = 0;
  }
  Scrollcalc(s);
  SDISPLAY(s);
  HScroll1_Change(s);
}

void YMagAbutton_Click(Scope& s) {
  magnifyAnalogue(s, s.MagIndexA, s.PosStepA);
}
void YMagBbutton_Click(Scope& s) {
  magnifyAnalogue(s, s.MagIndexB, s.PosStepB);
}
void YMagEbutton_Click(Scope& s) {
  magnifyDigital(s, s.MagIndexC, s.PosStepC);
}
void YMagFbutton_Click(Scope& s) {
  magnifyDigital(s, s.MagIndexD, s.PosStepD);
}

void scrollupA_Click(Scope& s) {
  moveBy(s, s.PosStepA, -1, analogueStep(s.MagIndexA).limit);
}
void scrolldownA_Click(Scope& s) {
  moveBy(s, s.PosStepA, 1, analogueStep(s.MagIndexA).limit);
}
void scrollupB_Click(Scope& s) {
  moveBy(s, s.PosStepB, -1, analogueStep(s.MagIndexB).limit);
}
void scrolldownB_Click(Scope& s) {
  moveBy(s, s.PosStepB, 1, analogueStep(s.MagIndexB).limit);
}
void scrollupE_Click(Scope& s) {
  moveBy(s, s.PosStepC, -1, digitalStep(s.MagIndexC).limit);
}
void scrolldownE_Click(Scope& s) {
  moveBy(s, s.PosStepC, 1, digitalStep(s.MagIndexC).limit);
}
void scrollupF_Click(Scope& s) {
  moveBy(s, s.PosStepD, -1, digitalStep(s.MagIndexD).limit);
}
void scrolldownF_Click(Scope& s) {
  moveBy(s, s.PosStepD, 1, digitalStep(s.MagIndexD).limit);
}

void Scrollup_Click(Scope& s) {
  s.PosStepMath = std::max(s.PosStepMath - 1, -mathStep(s.MathMagIndex).limit);
  Scrollcalc(s);
  HScroll1_Change(s);
}

void scrolldown_Click(Scope& s) {
  s.PosStepMath = std::min(s.PosStepMath + 1, mathStep(s.MathMagIndex).limit);
  Scrollcalc(s);
  HScroll1_Change(s);
}

}  // namespace qvx
