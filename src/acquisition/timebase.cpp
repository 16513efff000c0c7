#include "acquisition/timebase.h"

#include <algorithm>

#include "panel/numeric.h"

namespace qvx {

namespace {
constexpr Colour kLightYellow = 0xC0FFFF;
constexpr Colour kGrey = 0xC0C0C0;
constexpr int kGeneratorMode = 1, kScopeGenMode = 2, kFftMode = 4;

bool showsCapture(const RunState& s) {
  return s.OperatingMode == 0 || s.OperatingMode == kFftMode;
}

void stepRate(Scope& s, int delta) {
  s.SampleRateIndex = std::clamp(s.SampleRateIndex + delta, 0, 4);
  DSAMPLE(s);
}

int captureScrollMax(const TimebaseState& s) {
  return toInt16(double(1 << s.SampleSizeIndex) * s.ScrollUnit - 1);
}

void setScrollMax(Scope& s, int max) {
  s.panel.HScroll1.setMax(max);
  s.panel.HScroll2.setMax(max);
}

void stepSizeByKey(Scope& s, int delta) {
  s.SampleSizeIndex = std::clamp(s.SampleSizeIndex + delta, 0, 5);
  DSAMPLE(s);
  setScrollMax(s, captureScrollMax(s));
}

// With the mouse the scroll range follows what the display is showing: the capture,
// or the generator table in the generator modes; the counter has no trace to scroll.
void stepSizeByMouse(Scope& s, int delta) {
  s.SampleSizeIndex = std::clamp(s.SampleSizeIndex + delta, 0, 5);
  if (showsCapture(s)) {
    setScrollMax(s, captureScrollMax(s));
  } else if (s.OperatingMode == kGeneratorMode || s.OperatingMode == kScopeGenMode) {
    setScrollMax(s, toInt16(s.GenScrollLast));
  }
  DSAMPLE(s);
}
}  // namespace

std::string rateReadout(int rateIndex, float rateMantissa) {
  static const char* const kSuffix[] = {"   KHz", "0 KHz", "00KHz", "   MHz", "0 MHz"};
  return numberText(2 * rateMantissa) + kSuffix[std::clamp(rateIndex, 0, 4)];
}

std::string sizeReadout(int sizeIndex) {
  static const char* const kText[] = {"    2K ", "    4K ", "    8K ",
                                      "   16K ", "   32K ", "   64K "};
  return kText[std::clamp(sizeIndex, 0, 5)];
}

void DSAMPLE(Scope& s) {
  PictureArea& rate = s.panel.SRATEDISP;
  PictureArea& size = s.panel.SSIZEDISP;
  rate.cls();
  size.cls();
  if (showsCapture(s)) {
    s.RateIndexA = s.RateIndexB = s.SampleRateIndex;
    s.SizeIndexA = s.SizeIndexB = s.SampleSizeIndex;
    rate.setBackColour(kLightYellow);
    rate.print(rateReadout(s.SampleRateIndex, s.RateMantissa));
    size.setBackColour(kLightYellow);
    size.print(sizeReadout(s.SampleSizeIndex));
  } else {
    rate.setBackColour(kGrey);
    size.setBackColour(kGrey);
    size.print(numberText(s.GenLastIndex + 1));
  }
}

void SRATEN_MouseDown(Scope& s) {
  stepRate(s, -1);
}
void SRATEN_KeyPress(Scope& s) {
  stepRate(s, -1);
}
void SRATEP_MouseDown(Scope& s) {
  stepRate(s, 1);
}
void SRATEP_KeyPress(Scope& s) {
  stepRate(s, 1);
}
void SSIZEN_MouseDown(Scope& s) {
  stepSizeByMouse(s, -1);
}
void SSIZEN_KeyPress(Scope& s) {
  stepSizeByKey(s, -1);
}
void SSIZEP_MouseDown(Scope& s) {
  stepSizeByMouse(s, 1);
}
void SSIZEP_KeyPress(Scope& s) {
  stepSizeByKey(s, 1);
}

}  // namespace qvx
