#include "display/render.h"

#include <algorithm>
#include <cmath>

#include "acquisition/trigger.h"
#include "display/cursor.h"
#include "display/render_parts.h"
#include "display/settings.h"
#include "panel/numeric.h"
#include "spectrum/fft.h"

namespace qvx {

using namespace display;

namespace {

bool captureMode(const RunState& s) {
  return s.OperatingMode == kScope || s.OperatingMode == kFft;
}

int captureScrollLast(const TimebaseState& s) {
  return (1 << s.SampleSizeIndex) * s.ScrollUnit - 1;
}

int genScrollLast(const GeneratorState& s) {
  return static_cast<int>(floorInt(s.GenLastIndex / 2));
}

// Scroll ranges of the mode, and in FFT the spectrum. Lowering a maximum below a bar's
// value moves the bar, whose change event redraws everything; the caller then stops.
bool setScrollRanges(Scope& s) {
  s.GenScrollLast = static_cast<float>(genScrollLast(s));
  const auto before = s.panel.ScopeScreen.clears;
  if (captureMode(s)) {
    s.panel.HScroll1.setMax(captureScrollLast(s));
    s.panel.HScroll2.setMax(captureScrollLast(s));
  } else if (s.OperatingMode == kGenerator || s.OperatingMode == kScopeGen) {
    s.panel.HScroll1.setMax(genScrollLast(s));
    s.panel.HScroll2.setMax(genScrollLast(s));
  }
  if (s.panel.ScopeScreen.clears != before) return true;
  if (s.OperatingMode == kFft) {
    s.FftSize = (std::int32_t{1} << s.SampleSizeIndex) * 2048;
    FFTconvert(s);
  }
  return false;
}

void showPositionButtons(Scope& s) {
  Panel& p = s.panel;
  const bool math = mathSelected(s);
  if (!math) {
    p.Scrollup.visible = false;
    p.scrolldown.visible = false;
  }
  const bool perChannel = !math && s.OperatingMode != kGenerator && s.OperatingMode != kFft;
  for (Widget* w : {static_cast<Widget*>(&p.scrollupA), static_cast<Widget*>(&p.scrolldownA),
                    static_cast<Widget*>(&p.scrollupB), static_cast<Widget*>(&p.scrolldownB),
                    static_cast<Widget*>(&p.YMagAbutton), static_cast<Widget*>(&p.YMagBbutton)})
    w->visible = perChannel;
  scrollcalca(s);
  scrollcalcB(s);
  scrollcalce(s);
  scrollcalcf(s);
}

// Clears the display and sets its scale, the cursor steps and the position bar's steps.
void prepareScreen(Scope& s) {
  PictureArea& sc = s.panel.ScopeScreen;
  sc.cls();
  sc.AutoRedraw = s.PrintActive == 1;
  if (sc.ScaleHeight() <= 0 || sc.ScaleHeight() == sc.place.height) {
    sc.setScaleHeight(s.ScreenHeight + 10);
    sc.ScaleTop = -1;
  }
  sc.setScaleWidth(2.0 * s.ViewWidth);
  s.CursorCoarseStep = s.ViewWidth / 16.0;
  s.CursorFineStep = static_cast<std::int32_t>(
      roundHalfEven(s.ViewWidth < 512 ? s.ViewWidth / 256.0 : s.ViewWidth / 512.0));
  if (s.CursorX > s.ViewPoints) s.CursorX = s.ViewPoints;

  const double W = 2.0 * s.ViewWidth;
  sc.foreColour = kGridColour;
  sc.backColour = kScreenBack;
  s.panel.HScroll1.LargeChange = toInt16(W / 8);
  s.panel.HScroll1.SmallChange = static_cast<int>(floorInt(W / 2048) + 1);
}

struct Division {
  double value;
  std::string unit;
};

// Time per grid division, or frequency per spectral point in FFT.
Division divisionOf(const DeviceState& dev, const RunState& run, const RenderState& render,
                    double W, int r) {
  const double m = dev.RateMantissa;
  if (run.OperatingMode != kFft) {
    const double D = static_cast<double>(floorInt(0.5 * W / 1.6384 / m + 0.5));
    switch (r) {
      case 4:
        return {D / 100, "uS"};
      case 3:
        return {D / 10, "uS"};
      case 2:
        return {D / 1000, "mS"};
      case 1:
        return {D / 100, "mS"};
      default:
        return {D / 10, "mS"};
    }
  }
  const double perPoint = 0.05 * render.FftSize * std::pow(10.0, 4 - r);
  if (r >= 3) return {m / perPoint, "MHz"};
  if (r >= 1) return {1000 * m / perPoint, "KHz"};
  return {1000000 * m / perPoint, "Hz"};
}

// Zero-volt lines of the channels for the trigger marker: (Mag + 1) x Shift below the
// centre, applied in this order so the math base feeds the later steps.
void setMarkerBases(RenderState& render, const VerticalState& vert) {
  render.BaseMid = 2048;
  auto at = [&](double k, double shift) { return toInt16(render.BaseMid + k * shift); };
  if (vert.MagIndexA == 0) render.BaseA = at(2, vert.ShiftA);
  if (vert.MagIndexB == 0) render.BaseB = at(2, vert.ShiftB);
  if (vert.MathMagIndex == 1) render.BaseMid = at(3, vert.ShiftMath);
  if (vert.MagIndexA == 1) render.BaseA = at(3, vert.ShiftA);
  if (vert.MagIndexB == 1) render.BaseB = at(3, vert.ShiftB);
  if (vert.MathMagIndex == 2) render.BaseMid = at(6, vert.ShiftMath);
  if (vert.MagIndexA == 2) render.BaseA = at(6, vert.ShiftA);
  if (vert.MagIndexB == 2) render.BaseB = at(6, vert.ShiftB);
  if (vert.MagIndexA == 3) render.BaseA = at(11, vert.ShiftA);
  if (vert.MagIndexB == 3) render.BaseB = at(11, vert.ShiftB);
}

void setTraceBases(const RunState& run, RenderState& render, VerticalState& vert) {
  render.BaseMid = 4096 / 2;
  if (run.OperatingMode == kFft) {
    render.BaseA = render.BaseB = render.BaseC = render.BaseD = 2048;
    render.SavedMagMath = vert.MagMath;
    vert.MagMath = 1;
    render.SavedMagA = vert.MagA;
    vert.MagA = 1;
    render.SavedMagB = vert.MagB;
    vert.MagB = 1;
  } else {
    render.BaseA = toInt16(2048 + vert.ShiftA);
    render.BaseB = toInt16(2048 + vert.ShiftB);
    render.BaseC = 2048 + vert.ShiftC;
    render.BaseD = 2048 + vert.ShiftD;
  }
  render.BaseMid = toInt16(render.BaseMid + vert.ShiftMath);
}

}  // namespace

int displayRateIndex(const RunState& run, const DisplayState& disp, const GeneratorState& gen) {
  if (captureMode(run)) return disp.DataRateIndex;
  switch (gen.GenMode) {
    case 0:
      return gen.GenRateIndex0;
    case 1:
      return gen.GenRateIndex1;
    default:
      return gen.GenCustomRate;
  }
}

float currentScrollLast(const RunState& run, const TimebaseState& timebase,
                        const GeneratorState& gen) {
  return static_cast<float>(captureMode(run) ? captureScrollLast(timebase) : genScrollLast(gen));
}

void clampViewWindow(Scope& s) {
  if (s.ViewWidth + s.ViewStart > s.ScrollLast) s.ViewStart = toInt16(s.ScrollLast - s.ViewWidth);
  if (s.ViewWidth + s.ViewStart > 32767) s.ViewStart = 32767 - s.ViewWidth;
  if (s.ViewStart < 0) {
    s.ViewWidth = toInt16(s.ScrollLast);
    s.ViewStart = 0;
    s.panel.HScroll2.setValue(s.ViewWidth);
  }
}

void HScroll1_Change(Scope& s) {
  if (s.RemoteExecute == 1 && s.RemoteDisplayUpdate == 0) return;
  if (setScrollRanges(s)) return;

  // The window is clamped before anything is drawn: moving a bar raises its change
  // event, whose nested redraw shows the corrected window, and this call then stops.
  s.ScrollLast = currentScrollLast(s, s, s);
  if (captureMode(s)) s.LastShown = 2 * s.ScrollLast + 1;
  PictureArea& sc = s.panel.ScopeScreen;
  s.ViewStart = s.panel.HScroll1.value();
  const auto clearsBefore = sc.clears;
  clampViewWindow(s);
  s.panel.HScroll1.setValue(s.ViewStart);
  if (sc.clears != clearsBefore) return;

  showPositionButtons(s);
  prepareScreen(s);
  const double W = 2.0 * s.ViewWidth;
  const int r = displayRateIndex(s, s, s);
  s.AxisRateIndex = r;
  const Division div = divisionOf(s, s, s, W, r);
  s.ViewFirst = 2 * s.ViewStart;

  if (s.GridOn == 1) {
    s.panel.Command16.enabled = true;
    drawGrid(s, W, div.value, r);
    if (s.UnitsOn == 1) drawAxisLabels(s, W, div.unit);
  } else {
    s.panel.Command16.enabled = false;
  }

  sc.foreColour = kDefaultPen;
  s.ScrollLast = currentScrollLast(s, s, s);
  s.LastShown = 2 * s.ScrollLast + 1;
  s.panel.Picture2.setScaleWidth(s.ScrollLast);
  clampViewWindow(s);
  s.panel.HScroll1.setValue(s.ViewStart);
  s.ViewFirst = 2 * s.ViewStart;
  s.ViewPoints = 2.0 * s.ViewWidth + 1;

  drawBufferBar(s);

  sc.drawMode = DrawMode::CopyPen;
  setTraceBases(s, s, s);
  drawTraces(s);

  if (s.OperatingMode == kFft) {
    s.MagMath = static_cast<int>(s.SavedMagMath);
    s.MagA = s.SavedMagA;
    s.MagB = s.SavedMagB;
  }
  // The screen was cleared, so no inverted line is on it any more.
  s.CursorDrawn = 0;
  s.TrigMarkDrawn = 0;
  curtest(s);
  cursdraw(s);

  setMarkerBases(s, s);
  s.MarkerTimerArm = 0;
  trcursdraw(s);
  s.MarkerTimerArm = 1;
  for (auto* extra : s.afterRedraw) extra(s);
}

void HScroll2_Change(Scope& s) {
  s.ViewWidth = s.panel.HScroll2.value();
  s.ViewPoints = 2.0 * s.ViewWidth;
  const auto before = s.panel.ScopeScreen.clears;
  s.panel.HScroll2.setMax(captureMode(s) ? captureScrollLast(s) : genScrollLast(s));
  if (s.panel.ScopeScreen.clears != before) return;
  HScroll1_Change(s);
}

void ScopeScreen_Click(Scope& s) {
  HScroll2_Change(s);
}

}  // namespace qvx
