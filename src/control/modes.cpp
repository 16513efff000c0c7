#include "control/modes.h"

#include <algorithm>
#include <array>

#include "acquisition/timebase.h"
#include "acquisition/trigger.h"
#include "control/groups.h"
#include "counter/counter.h"
#include "display/render.h"
#include "display/settings.h"
#include "generator/generator.h"

namespace qvx {

namespace {

constexpr int kScope = 0, kGenerator = 1, kScopeGen = 2, kCounter = 3, kFft = 4;

// Whole-buffer copy over indexes 0..BufLast, never past either buffer's end.
void copyBuffer(const SampleBuffer& from, SampleBuffer& to, std::int32_t last) {
  const std::size_t n =
      std::min({static_cast<std::size_t>(std::max(last + 1, 0)), from.size(), to.size()});
  std::copy_n(from.begin(), n, to.begin());
}

// The per-trace position buttons and the C and D magnifiers mean nothing while the
// generator table or a spectrum is on the screen.
void showTraceButtons(Panel& p, bool on) {
  const std::array<Widget*, 10> buttons = {
      &p.scrollupA, &p.scrollupB,   &p.scrolldownA, &p.scrolldownB, &p.scrollupE,
      &p.scrollupF, &p.scrolldownE, &p.scrolldownF, &p.YMagEbutton, &p.YMagFbutton};
  for (Widget* w : buttons) w->visible = on;
}

const char* modeCaption(int mode) {
  switch (mode) {
    case kGenerator:
      return "   GENERATOR";
    case kScopeGen:
      return "   SCOPE+GEN";
    case kCounter:
      return "      COUNTER";
    case kFft:
      return "            FFT";
    default:
      return "        SCOPE";
  }
}

}  // namespace

void SmodeCheck(Scope& s) {
  Panel& p = s.panel;
  int& mode = s.OperatingMode;

  // Without a generator its two modes are stepped over in either direction.
  if (s.GenFitted == 0 && mode == kGenerator) mode = kCounter;
  if (s.GenFitted == 0 && mode == kScopeGen) mode = kScope;

  // The working buffers hold spectra in FFT mode; give the time data back.
  if (s.PrevMode == kFft) {
    copyBuffer(s.TimeBufA, s.BufA, s.BufLast);
    copyBuffer(s.TimeBufB, s.BufB, s.BufLast);
    s.FftDoneA = 0;
    s.FftDoneB = 0;
  }

  if (mode > kFft) mode = kScope;
  if (mode < kScope) mode = kFft;
  if (mode > kCounter) p.ZoomButton.enabled = false;
  // A reading of the generator's output says nothing about the inputs.
  if (s.PrevMode == kGenerator && mode != kGenerator && countsGeneratorOutput(s))
    s.FCntNote = kCountNoReading;
  s.PrevMode = mode;

  if (mode == kCounter) s.SelE = -1;
  if (mode == kGenerator) s.GenSizeIndex = s.SampleSizeIndex;

  if (mode == kFft) {
    copyBuffer(s.BufA, s.TimeBufA, s.BufLast);
    copyBuffer(s.BufB, s.TimeBufB, s.BufLast);
    s.ScrollUnit = 512;
    s.SelAplusB = -1;
    s.SelAminusB = -1;
    p.Command20.enabled = false;
    p.Command21.enabled = false;
  } else {
    s.ScrollUnit = 1024;
    p.Command20.enabled = true;
    p.Command21.enabled = true;
  }

  const bool noTraces = mode == kGenerator || mode == kFft;
  showTraceButtons(p, !noTraces);

  SMODEDISP(s);

  s.CursorSel = 0;
  GENDISP(s);
  TRIGGER(s);
  trcursdraw(s);
  p.CURSINFO.setBackColour(RGB(0xC0, 0xC0, 0xC0));

  if (noTraces) {
    p.Scrollup.visible = false;
    p.scrolldown.visible = false;
  }
  if (mode == kGenerator && s.GenMode < 2) GENUPDATEBUTTON_Click(s);
  if (mode == kCounter)
    FcntON(s);
  else
    FCntOFF(s);

  scrollcalca(s);
  scrollcalcB(s);
  scrollcalce(s);
  scrollcalcf(s);
}

void SMODEDISP(Scope& s) {
  Panel& p = s.panel;
  const int mode = s.OperatingMode;
  const bool scopeOrFft = mode == kScope || mode == kFft;
  const bool generatorModes = mode == kGenerator || mode == kScopeGen;

  setRangeGroups(s);
  if (s.ChanBFitted == 0) s.SelB = -1;

  if (!scopeOrFft) s.TrigMarkOn = 0;

  if (scopeOrFft) {
    const int last = (1 << s.SampleSizeIndex) * s.ScrollUnit - 1;
    p.HScroll1.setMax(last);
    p.HScroll2.setMax(last);
  }

  if (generatorModes)
    GENENABLE(s);
  else
    GENDISABLE(s);

  if (scopeOrFft) {
    p.Command19.enabled = false;
    s.SelE = -1;
  } else {
    p.Command19.enabled = true;
  }

  if (scopeOrFft && s.GenMode != 2) DSAMPLE(s);
  SDISPLAY(s);

  if (generatorModes) {
    TRIGGERDISABLE(s);
    if (mode == kScopeGen) p.TRESETBUTTON.enabled = true;
    p.SRATEDISP.cls();
    if (s.GenMode != 2) p.GENUPDATEBACK.setBackColour(RGB(0xFF, 0, 0));
  } else {
    TRIGGERENABLE(s);
  }

  if (mode == kScope)
    SAMPLEENABLE(s);
  else
    SAMPLEDISABLE(s);
  if (mode == kCounter) p.SSIZEDISP.cls();

  const bool digitalShown = mode == kScope || mode == kScopeGen || mode == kCounter;
  p.Command8.enabled = digitalShown;
  p.Command9.enabled = digitalShown;

  const bool mathOn = s.SelAplusB == 1 || s.SelAminusB == 1;
  p.Command17.enabled = mode != kGenerator && !mathOn;
  p.Command18.enabled = mode != kGenerator && !mathOn && s.ChanBFitted != 0;

  if (mode == kGenerator) {
    p.Command20.enabled = false;
    p.Command21.enabled = false;
    s.SelE = 1;
  } else {
    p.Command20.enabled = true;
    p.Command21.enabled = true;
  }

  HScroll2_Change(s);

  if (mode == kFft) {
    p.Command12.enabled = false;
    p.Command20.enabled = false;
    p.Command21.enabled = false;
  } else {
    p.Command12.enabled = true;
  }

  p.SCOPEMODE.cls();
  p.SCOPEMODE.fontSize = 11;
  p.SCOPEMODE.print(modeCaption(mode));
}

void SmodeUP_Click(Scope& s) {
  ++s.OperatingMode;
  SmodeCheck(s);
}

void SmodeDown_Click(Scope& s) {
  --s.OperatingMode;
  SmodeCheck(s);
}

void SCOPEMODE_Click(Scope& s) {
  SmodeCheck(s);
}

void Command17_Click(Scope& s) {
  s.SelA = -s.SelA;
  SMODEDISP(s);
}

void Command18_Click(Scope& s) {
  s.SelB = -s.SelB;
  SMODEDISP(s);
}

void Command8_Click(Scope& s) {
  s.SelC = -s.SelC;
  SMODEDISP(s);
}

void Command9_Click(Scope& s) {
  s.SelD = -s.SelD;
  SMODEDISP(s);
}

void Command19_Click(Scope& s) {
  s.SelE = -s.SelE;
  SMODEDISP(s);
}

// The sum and the difference share one trace: choosing one drops the other.
void Command20_Click(Scope& s) {
  s.SelAplusB = -s.SelAplusB;
  if (s.SelAplusB == 1) s.SelAminusB = -1;
  SMODEDISP(s);
}

void Command21_Click(Scope& s) {
  s.SelAminusB = -s.SelAminusB;
  if (s.SelAminusB == 1) s.SelAplusB = -1;
  SMODEDISP(s);
}

}  // namespace qvx
