#include "generator/panel.h"

#include <algorithm>
#include <array>
#include <vector>

#include "acquisition/timebase.h"
#include "core/auto_repeat.h"
#include "display/cursor.h"
#include "display/render.h"
#include "display/settings.h"
#include "generator/synthesis.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr int kGeneratorMode = 1, kScopeGenMode = 2;
constexpr Colour kGrey = 0xC0C0C0, kLightYellow = 0xC0FFFF, kRed = 255;
constexpr Colour kIconPen = 0x800000;
constexpr double kMinFreq = 5, kMaxFreq = 500000;

// Where the panel's texts sit, in the twips of GENPICTURE: the heading row, and the
// label row between the buttons and the value box.
constexpr double kHeadingY = 20, kLabelY = 500;
constexpr double kModeTextX = 1800, kAmpTextX = 1700, kSettingTextX = 2250, kStyleTextX = 1130;
constexpr double kStyleTextY = 280;

bool generatorModeShown(const RunState& s) {
  return s.OperatingMode == kGeneratorMode || s.OperatingMode == kScopeGenMode;
}

void printAt(PictureArea& p, double x, double y, const std::string& text) {
  p.printAt(x, y, text, false);
}

void stepFrequency(GeneratorState& s, double by) {
  s.GenFreq = frequencyInRange(s.GenFreq + by);
}

// One cycle of the style as a small picture, low at the bottom and high at the top,
// ending where the next cycle begins.
void drawStyleIcon(Scope& s) {
  PictureArea& icon = s.panel.STYLEDISP;
  icon.cls();
  icon.setScaleWidth(400);
  icon.setScaleHeight(100);
  const double highFrom = s.GenMode == genmode::Normal ? (100.0 - s.GenDuty) * 360 / 100 : 180;
  std::vector<PointF> pts;
  for (int deg = 0; deg <= 360; deg += 5) {
    const int code = styleCode(s.GenStyle, deg % 360, 1, highFrom, s.PiConst);
    pts.push_back({static_cast<float>(20 + deg), static_cast<float>(85 - code * 70.0 / 4095)});
  }
  icon.DrawWidth = 1;
  icon.polyline(std::move(pts), kIconPen);
}

void showDutyButtons(Panel& p, bool on) {
  p.DCUP.visible = on;
  p.DCDOWN.visible = on;
}

// What the panel shows when the generator is not in use: no labels, no values.
void blankPanel(Scope& s) {
  Panel& p = s.panel;
  for (Button* b : {&p.GENSFREQBUTTONN, &p.GENSFREQBUTTONP, &p.SWRATIOBUTTON, &p.GENAMPBUTTON})
    b->enabled = false;
  p.GENPICTURE.cls();
  printAt(p.GENPICTURE, 40, kHeadingY, "GENERATOR SETUP");
  p.STYLEDISP.cls();
  p.GENFREQDISP.setBackColour(kGrey);
}

void printValue(PictureArea& box, const std::string& text) {
  box.cls();
  box.printAt(60, 30, text, false);
}

}  // namespace

double frequencyInRange(double hz) {
  return std::clamp(hz, kMinFreq, kMaxFreq);
}

void deriveSweepSettings(const DeviceState& dev, GeneratorState& gen) {
  static constexpr std::array<double, 10> kStart = {5,    10,   50,    100,   500,
                                                    1000, 5000, 10000, 50000, 100000};
  static constexpr std::array<int, 4> kRatio = {2, 5, 10, 20};
  const int step = std::clamp(gen.GenSweepStart, 0, 9);
  gen.GenSweepShort = step % 2;
  gen.GenRateIndex1 = step / 2;
  gen.GenSweepStartFreq = static_cast<float>(kStart[step] * dev.RateMantissa);
  gen.GenSweepRatio = std::clamp(gen.GenSweepRatio, 0, 3);
  if (gen.GenSweepRatio == 3 && gen.GenSweepShort == 1) gen.GenSweepRatio = 2;
  gen.GenSweepRatioShown = kRatio[gen.GenSweepRatio];
}

void applyCustomMagnification(GeneratorState& s) {
  const std::int32_t last =
      std::clamp<std::int32_t>(static_cast<std::int32_t>(s.GenLastIndex), 0,
                               static_cast<std::int32_t>(s.GenTable.size()) - 1);
  int hi = 0, lo = 4095;
  for (std::int32_t i = 0; i <= last; ++i) {
    hi = std::max<int>(hi, s.CustomView[i]);
    lo = std::min<int>(lo, s.CustomView[i]);
  }
  s.CustomMax = hi;
  s.CustomMin = lo;
  s.CustomMid = toInt16((hi + lo) / 2.0);
  auto clip = [](double v) {
    return static_cast<std::int16_t>(std::clamp<long long>(roundHalfEven(v), 0, 4095));
  };
  switch (s.CustomMag) {
    case 1:
    case 2: {
      s.CustomMagFactor = s.CustomMag == 1 ? 2.0f : 5.0f;
      for (std::int32_t i = 0; i <= last; ++i)
        s.GenTable[i] = clip(
            (s.CustomView[i] - s.CustomMid) * static_cast<double>(s.CustomMagFactor) + s.CustomMid);
      break;
    }
    case 3:
      // A wave flatter than two codes cannot be stretched; the table stays as it is.
      if (hi - lo > 1) {
        const double factor = 4095.0 / (hi - lo);
        s.CustomMagFactor = static_cast<float>(factor);
        for (std::int32_t i = 0; i <= last; ++i)
          s.GenTable[i] = static_cast<std::int16_t>(roundHalfEven((s.CustomView[i] - lo) * factor));
      }
      break;
    default:
      s.CustomMagFactor = 1;
      std::copy_n(s.CustomView.begin(), last + 1, s.GenTable.begin());
      break;
  }
  for (std::int32_t i = 0; i <= last; ++i)
    s.GenTable[i] = static_cast<std::int16_t>(s.GenTable[i] & 0xFFF);
}

std::string customRateText(int customRate, float rateMantissa) {
  static const char* const kUnit[] = {"  KHz", "0 KHz", "00KHz", "  MHz", "0 MHz"};
  return numberText(2 * rateMantissa) + kUnit[std::clamp(customRate, 0, 4)];
}

const char* customMagText(int customMag) {
  static const char* const kText[] = {"x 1   ", "x 2   ", "x 5   ", "MAX   "};
  return kText[std::clamp(customMag, 0, 3)];
}

void GENDISP(Scope& s) {
  Panel& p = s.panel;
  if (!generatorModeShown(s)) {
    blankPanel(s);
    p.focus = p.FFTbutton.name;
    return;
  }
  p.GENFREQDISP.setBackColour(kLightYellow);

  // Within the generator group: a locked group (during a run) stays locked.
  const bool groupOn = p.GENMODEBUTTON.enabled;
  const bool normal = s.GenMode == genmode::Normal, custom = s.GenMode == genmode::Custom;
  p.GENSFREQBUTTONN.enabled = groupOn && normal;
  p.GENSFREQBUTTONP.enabled = groupOn && normal;
  p.SWRATIOBUTTON.enabled = groupOn && !normal;

  PictureArea& pic = p.GENPICTURE;
  pic.cls();
  printAt(pic, 40, kHeadingY, "GENERATOR SETUP");
  static const char* const kModeText[] = {"NORMAL ", "SWEEP   ", "CUSTOM "};
  printAt(pic, kModeTextX, kHeadingY, kModeText[std::clamp(s.GenMode, 0, 2)]);

  p.GENSTYLEBUTTON.caption = custom ? "CropL" : "Style";
  p.GENAMPBUTTON.caption = custom ? "CropR" : "Amp";
  p.SWRATIOBUTTON.caption = custom ? "Amp" : "Ratio";
  p.STYLEDISP.visible = !custom;

  printAt(pic, kAmpTextX, kLabelY, custom ? "      " : s.GenAmpIndex == 2 ? "1V p-p" : "2V p-p");

  const bool dutyShown = normal && s.GenStyle == genstyle::Square;
  if (!custom) drawStyleIcon(s);
  showDutyButtons(p, dutyShown);
  if (dutyShown) {
    p.SWRATIOBUTTON.caption = "Dcycle";
    p.SWRATIOBUTTON.enabled = groupOn;
  }
  if (s.GenStyle == genstyle::Custom) {
    // A size smaller, so the word stays within the icon's place between the buttons.
    pic.fontSize = 7;
    printAt(pic, kStyleTextX, kStyleTextY, "Custom");
    pic.fontSize = 8;
  }

  static const char* const kLabel[] = {"Frequency (Hz)", "Start Freq (Hz) ", "   Step Freq       "};
  printAt(pic, 40, kLabelY, kLabel[std::clamp(s.GenMode, 0, 2)]);

  switch (s.GenMode) {
    case genmode::Normal:
      printValue(p.GENFREQDISP, numberText(s.GenFreq));
      break;
    case genmode::Sweep:
      deriveSweepSettings(s, s);
      printValue(p.GENFREQDISP, numberText(s.GenSweepStartFreq));
      printAt(pic, kSettingTextX, kLabelY, numberText(s.GenSweepRatioShown) + "      ");
      break;
    default:
      printValue(p.GENFREQDISP, customRateText(s.GenCustomRate, s.RateMantissa));
      applyCustomMagnification(s);
      printAt(pic, kSettingTextX, kLabelY, customMagText(s.CustomMag));
      break;
  }
  if (dutyShown) printAt(pic, kSettingTextX, kLabelY, numberText(s.GenDuty) + " %  ");

  if (s.GenDirty == 1) p.GENUPDATEBACK.setBackColour(kRed);
  p.focus = p.FFTbutton.name;
  // The time axis of the generator modes counts at the rate of the generator mode shown;
  // a change of mode or rate (entering CUSTOM, a step of the custom or sweep rate) redraws
  // it at once rather than leaving labels at the old rate until some other redraw.
  if (displayRateIndex(s, s, s) != s.AxisRateIndex) HScroll1_Change(s);
}

void GENMODEBUTTON_MouseDown(Scope& s) {
  if (s.GenMode == genmode::Custom) s.GenStyle = s.SavedGenStyle;
  s.GenMode = s.GenMode >= genmode::Custom ? genmode::Normal : s.GenMode + 1;
  if (s.GenMode == genmode::Custom) {
    // The last built wave becomes the starting custom wave.
    s.SavedGenStyle = s.GenStyle;
    s.GenStyle = genstyle::Custom;
    const auto last = std::clamp<std::int32_t>(static_cast<std::int32_t>(s.GenLastIndex), 0,
                                               static_cast<std::int32_t>(s.GenTable.size()) - 1);
    std::copy_n(s.GenTable.begin(), last + 1, s.CustomView.begin());
  }
  if (s.GenMode < genmode::Custom && s.GenStyle == genstyle::Custom) s.GenStyle = genstyle::Sine;
  if (s.GenMode < genmode::Custom)
    GENUPDATEBUTTON_Click(s);
  else
    s.GenDirty = 1;
  GENDISP(s);
}

namespace {

// A crop acts where the cursor stands, so a cursor is put up first if none is.
bool confirmCrop(Scope& s, const char* question) {
  if (s.CursorSel == 0) Command23_Click(s);
  return s.host.MsgBox(question, mb::OKCancel, "Crop Confirmation") == mb::AnswerOK;
}

}  // namespace

void GENSTYLEBUTTON_MouseDown(Scope& s) {
  if (s.GenMode != genmode::Custom) {
    s.GenStyle = (s.GenStyle + 1) % 4;
    s.SavedGenStyle = s.GenStyle;
    GENUPDATEBUTTON_Click(s);
    GENDISP(s);
    return;
  }
  if (!confirmCrop(s, "Crop Custom data left of cursor? (irreversible)")) return;
  CropCustomLeft(s, s, s);
  DSAMPLE(s);
  HScroll1_Change(s);
  GENDISP(s);
}

void GENAMPBUTTON_Click(Scope& s) {
  if (s.GenMode != genmode::Custom) {
    s.GenAmpIndex = s.GenAmpIndex == 1 ? 2 : 1;
    s.GenDirty = 1;
    GENDISP(s);
    return;
  }
  if (!confirmCrop(s, "Crop Custom data right of cursor? (irreversible)")) return;
  CropCustomRight(s, s, s);
  s.CursorSel = 0;
  SDISPLAY(s);
  DSAMPLE(s);
  HScroll1_Change(s);
  GENDISP(s);
}

void SWRATIOBUTTON_Click(Scope& s) {
  if (s.GenMode == genmode::Sweep) {
    const int lastRatio = s.GenSweepShort == 1 ? 2 : 3;
    s.GenSweepRatio = s.GenSweepRatio >= lastRatio ? 0 : s.GenSweepRatio + 1;
    s.GenDirty = 1;
  } else if (s.GenMode == genmode::Custom) {
    s.CustomMag = (s.CustomMag + 1) % 4;
  }
  GENDISP(s);
  if (s.GenMode == genmode::Custom) HScroll1_Change(s);
}

namespace {

void largeStep(Scope& s, int dir) {
  switch (s.GenMode) {
    case genmode::Normal:
      stepFrequency(s, 500.0 * dir);
      GENDISP(s);
      repeatWhileHeld(s, [&s, dir] {
        stepFrequency(s, (s.GenFreq > 200000 ? 5000.0 : 2500.0) * dir);
        GENDISP(s);
      });
      break;
    case genmode::Sweep:
      s.GenSweepStart = std::clamp(s.GenSweepStart + dir, 0, 9);
      GENDISP(s);
      break;
    default:
      s.GenCustomRate = std::clamp(s.GenCustomRate + dir, 0, 4);
      GENDISP(s);
      // Times in units would be wrong for the new rate until the next redraw.
      if (s.UnitsOn == 1) {
        s.UnitsOn = -1;
        SDISPLAY(s);
        HScroll1_Change(s);
      }
      break;
  }
  if (s.GenMode != genmode::Custom) {
    s.GenDirty = 1;
    GENDISP(s);
  }
}

void smallStep(Scope& s, int dir) {
  if (s.GenMode != genmode::Normal) return;
  stepFrequency(s, dir);
  GENDISP(s);
  repeatWhileHeld(s, [&s, dir] {
    stepFrequency(s, 10.0 * dir);
    GENDISP(s);
  });
  s.GenDirty = 1;
  GENDISP(s);
}

void release(CursorState& s) {
  s.CursorButtonHeld = 0;
}

}  // namespace

void setGeneratorFrequency(Scope& s, double hz) {
  s.GenFreq = static_cast<double>(roundHalfEven(frequencyInRange(hz)));
  s.GenDirty = 1;
  GENDISP(s);
}

void setGeneratorDuty(Scope& s, double percent) {
  s.GenDuty = static_cast<int>(std::clamp<long long>(roundHalfEven(percent), 2, 98));
  s.GenDirty = 1;
  GENDISP(s);
}

namespace {

void stepDuty(Scope& s, int by) {
  setGeneratorDuty(s, s.GenDuty + by);
}

}  // namespace

void GENLFREQBUTTONN_MouseDown(Scope& s) {
  largeStep(s, -1);
}
void GENLFREQBUTTONP_MouseDown(Scope& s) {
  largeStep(s, 1);
}
void GENSFREQBUTTONN_MouseDown(Scope& s) {
  smallStep(s, -1);
}
void GENSFREQBUTTONP_MouseDown(Scope& s) {
  smallStep(s, 1);
}
void GENLFREQBUTTONN_MouseUp(Scope& s) {
  release(s);
}
void GENLFREQBUTTONP_MouseUp(Scope& s) {
  release(s);
}
void GENSFREQBUTTONN_MouseUp(Scope& s) {
  release(s);
}
void GENSFREQBUTTONP_MouseUp(Scope& s) {
  release(s);
}
void DCUP_Click(Scope& s) {
  stepDuty(s, 2);
}
void DCDOWN_Click(Scope& s) {
  stepDuty(s, -2);
}

}  // namespace qvx
