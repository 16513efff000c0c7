#include "control/extras.h"

#include "display/render.h"
#include "spectrum/window.h"

namespace qvx {

namespace {

constexpr int kFftMode = 4;
constexpr Colour kExtrasBack = 0xD8D8D8;
constexpr Colour kStatusBack = 0xC0FFFF;  // the readouts' light yellow
constexpr const char* kAutoTriggerKey = "extras/autoTrigger";
constexpr const char* kFftWindowKey = "extras/fftWindow";
constexpr const char* kFftScaleKey = "extras/fftScale";

void save(Scope& s) {
  SettingsStore& store = s.host.Settings();
  store.setValue(kAutoTriggerKey, s.handling.autoTrigger ? "1" : "0");
  store.setValue(kFftWindowKey, fftWindowName(static_cast<FftWindow>(s.handling.fftWindow)));
  store.setValue(kFftScaleKey, s.handling.fftDb ? "dB" : "linear");
}

// Stored values that are not understood leave the setting at its start value.
void load(Scope& s) {
  const SettingsStore& store = s.host.Settings();
  if (auto v = store.value(kAutoTriggerKey)) s.handling.autoTrigger = *v == "1";
  if (auto v = store.value(kFftWindowKey))
    for (int w = 0; w < kFftWindowCount; ++w)
      if (*v == fftWindowName(static_cast<FftWindow>(w))) s.handling.fftWindow = w;
  if (auto v = store.value(kFftScaleKey)) s.handling.fftDb = *v == "dB";
}

// In FFT mode the spectra of the last capture are computed again from its time data,
// kept beside them, and redrawn; elsewhere the setting applies from the next spectrum.
void respectrum(Scope& s) {
  if (s.OperatingMode != kFftMode || s.RunFlag == 1) return;
  if (s.ChanAOn == 1) {
    s.BufA = s.TimeBufA;
    s.FftDoneA = 0;
  }
  if (s.ChanBOn == 1) {
    s.BufB = s.TimeBufB;
    s.FftDoneB = 0;
  }
  HScroll1_Change(s);
}

}  // namespace

void layOutExtras(Panel& p) {
  // Over the upper middle of the display, clear of the status box.
  p.ExtrasBox.place = {3950, 500, 4000, 1140};
  p.ExtrasBox.backColour = kExtrasBack;
  p.ExtrasBox.visible = false;
  int top = 60;
  for (Button* b : {&p.AutoTrigButton, &p.FftWindowButton, &p.FftScaleButton}) {
    b->place = {120, top, 2600, 300};
    top += 340;
  }
  p.ExtrasExit.place = {2860, 60, 1000, 300};
  p.ExtrasExit.fontBold = true;

  p.StatusLine.place = {0, 300 + 4780 - 260, 11900, 260};
  p.StatusLine.backColour = kStatusBack;
  p.StatusLine.foreColour = 0x0000C0;
  p.StatusLine.fontSize = 8;
  p.StatusLine.fontBold = true;
  p.StatusLine.visible = false;
}

void showExtras(Scope& s) {
  Panel& p = s.panel;
  p.AutoTrigButton.caption = s.handling.autoTrigger ? "Auto trigger ON" : "Auto trigger OFF";
  p.FftWindowButton.caption =
      "FFT window " + fftWindowName(static_cast<FftWindow>(s.handling.fftWindow));
  p.FftScaleButton.caption = s.handling.fftDb ? "FFT scale dB" : "FFT scale Linear";
}

void toggleExtras(Scope& s) {
  Panel& p = s.panel;
  p.ExtrasBox.visible = !p.ExtrasBox.visible;
  if (p.ExtrasBox.visible) {
    showExtras(s);
    p.focus = p.AutoTrigButton.name;
  }
}

void showStatusLine(Scope& s, const std::string& text) {
  s.handling.statusLine = text;
  PictureArea& line = s.panel.StatusLine;
  line.cls();
  line.visible = !text.empty();
  if (!text.empty()) line.print(" " + text);
}

void wireExtras(Scope& s) {
  Panel& p = s.panel;
  load(s);
  showExtras(s);
  p.AutoTrigButton.toolTip =
      "Auto trigger: a TRIG capture without a trigger is taken at once after its own time "
      "and 100 ms, marked AUTO";
  p.FftWindowButton.toolTip = "Window applied before the FFT: Rect, Hann, B-Harris, Flat top";
  p.FftScaleButton.toolTip = "FFT scale: linear (peak = 100) or dB of full scale (0 to -100)";
  p.ExtrasExit.toolTip = "Close the extras (X)";
  p.AutoTrigButton.onClick = [&s] {
    s.handling.autoTrigger = !s.handling.autoTrigger;
    showExtras(s);
    save(s);
  };
  p.FftWindowButton.onClick = [&s] {
    s.handling.fftWindow = (s.handling.fftWindow + 1) % kFftWindowCount;
    showExtras(s);
    save(s);
    respectrum(s);
  };
  p.FftScaleButton.onClick = [&s] {
    s.handling.fftDb = !s.handling.fftDb;
    showExtras(s);
    save(s);
    respectrum(s);
  };
  p.ExtrasExit.onClick = [&s] { toggleExtras(s); };
  p.ScopeScreen.contextMenu.push_back(
      {"Extras: auto trigger, FFT window and scale (X)", false, [&s] {
         if (!s.panel.ExtrasBox.visible) toggleExtras(s);
       }});
}

}  // namespace qvx
