#include "counter/panel.h"

#include <cmath>
#include <string>

#include "counter/counter.h"
#include "counter/recorder.h"
#include "display/render.h"

namespace qvx {

namespace {

constexpr int kGeneratorMode = 1;
constexpr int kManual = 2, kNoControl = 3;
constexpr Colour kModeColour = 0x402050;
constexpr Colour kRed = 0x0000FF;

void text(PictureArea& p, double x, double y, const std::string& t, Colour c, double size) {
  p.foreColour = c;
  p.fontSize = size;
  p.printAt(x, y, t);
}

const char* inputText(int source) {
  static const char* const kInputs[] = {" Ch C  ", " Ch D  ", " Trig  ", " Ref   "};
  return kInputs[source >= 0 && source <= 3 ? source : 0];
}

void controlText(Scope& s) {
  PictureArea& p = s.panel.Picture10;
  switch (s.FCntStSp) {
    case 0:
      text(p, 800, 390, " Ch C   ", s.TraceColour[4], 9);
      break;
    case 1:
      text(p, 800, 390, " Ch D   ", s.TraceColour[5], 9);
      break;
    default:
      text(p, 800, 390, "Manual", 0, 8);
      break;
  }
}

}  // namespace

void showCount(Scope& s) {
  s.FCntText = countText(s.FCntValue);
  PictureArea& readout = s.panel.Countdisp;
  readout.cls();
  readout.printAt(0, 0, s.FCntNote.empty() ? s.FCntText + "  " : s.FCntNote);
}

void CountDisplay(Scope& s) {
  Panel& panel = s.panel;
  PictureArea& p = panel.Picture10;
  p.cls();
  p.fontBold = true;
  text(p, 250, 1, "COUNTER", 0, 10);
  text(p, 250, 350, s.FCntMode == 0 ? " Freq. Hz  " : "  Counter   ", kModeColour, 9);
  text(p, 800, 80, inputText(s.FCntSource), 0, 9);

  if (s.FCntMode == 1) {
    panel.FCntStSpbutton.caption = "ST/SP";
    panel.FCntStSpbutton.enabled = true;
    panel.FCntResetbutton.enabled = true;
    controlText(s);
    panel.FCntRepeatButton.enabled = s.FCntStSp < kManual;
    s.FRecInterval = 0;
  } else {
    text(p, 800, 390, recorderText(s), s.FRecLost > 0 && s.FRecInterval != 0 ? kRed : 0, 9);
    panel.FCntResetbutton.enabled = false;
    panel.FCntStSpbutton.caption = "Rec";
    panel.FCntRepeatButton.enabled = false;
  }

  FCntResetCheck(s);
  if (s.FCntMode == 1) panel.FCntRepeatButton.caption = s.FCntRepeat == 0 ? "Single" : "Repeat";
  showCount(s);
}

void FCntModebutton_Click(Scope& s) {
  s.FCntMode = 1 - s.FCntMode;
  if (s.FCntMode == 1) {
    s.FCntResetReq = 0;
    s.FCntStSp = 0;
  } else {
    s.FCntStSp = kNoControl;
  }
  CountDisplay(s);
}

void FCntSourcebutton_Click(Scope& s) {
  s.FCntSource += 1;
  if (s.OperatingMode == kGeneratorMode && s.FCntSource == 2) s.FCntSource = 3;
  if (s.FCntSource > 3) s.FCntSource = 0;
  CountDisplay(s);
}

void FCntStSpbutton_Click(Scope& s) {
  if (s.FCntMode == 1) {
    s.FCntStSp += 1;
    if (s.FCntStSp > kManual) s.FCntStSp = 0;
    if (s.FCntStSp == kManual) {
      s.FCntResetReq = 0;
      s.FCntManualState = 0;
    }
    s.panel.Countdisp.setBackColour(kCountIdle);
    CountDisplay(s);
    return;
  }
  frecfilesave(s);
  CountDisplay(s);
  HScroll1_Change(s);
}

void FCntRepeatButton_Click(Scope& s) {
  s.FCntRepeat += 1;
  if (s.FCntRepeat >= 2) s.FCntRepeat = 0;
  CountDisplay(s);
}

void FCntResetbutton_Click(Scope& s) {
  if (s.FCntStSp < kManual) {
    s.FCntResetReq = 1;
  } else if (s.FCntManualState == 2) {
    s.FCntResetReq = 1;
    s.FCntManualState = 0;
  } else {
    s.FCntManualState += 1;
  }
  CountDisplay(s);
}

}  // namespace qvx
