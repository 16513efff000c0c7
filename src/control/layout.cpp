#include "control/layout.h"

#include <initializer_list>

#include "bode/view.h"
#include "control/extras.h"
#include "control/typed_numbers.h"
#include "files/file_panels.h"
#include "help/help.h"
#include "measure/panel.h"
#include "printing/print.h"

namespace qvx {

namespace {

// Instrument-front colours (0xBBGGRR).
constexpr Colour kPanelGrey = 0xC8C8C8;
constexpr Colour kReadout = 0xC0FFFF;  // light yellow readout boxes
constexpr Colour kScreen = 0xE0E0E0;

void place(Widget& w, int left, int top, int width, int height) {
  w.place = {left, top, width, height};
}

void font(Widget& w, double size, bool bold = false) {
  w.fontSize = size;
  w.fontBold = bold;
}

// A panel that holds controls: grey, black text.
void panelBox(PictureArea& p, int left, int top, int width, int height) {
  place(p, left, top, width, height);
  p.backColour = kPanelGrey;
  p.foreColour = 0;
  font(p, 8);
}

// Rows of the window, top to bottom (twips of the client area, 11900 wide).
constexpr int kInfoTop = 0, kInfoHeight = 300;
constexpr int kScreenTop = kInfoTop + kInfoHeight, kScreenHeight = 4780;
constexpr int kBarTop = kScreenTop + kScreenHeight, kBarHeight = 100;
constexpr int kScroll1Top = kBarTop + kBarHeight, kScrollHeight = 240;
constexpr int kScroll2Top = kScroll1Top + kScrollHeight;
constexpr int kRowA = kScroll2Top + kScrollHeight + 40, kRowAHeight = 1150;
constexpr int kRowB = kRowA + kRowAHeight + 50, kRowBHeight = 1200;
constexpr int kWidth = 11900;

void layOutDisplay(Panel& p) {
  place(p.CURSINFO, 0, kInfoTop, kWidth, kInfoHeight);
  p.CURSINFO.backColour = 0xC0C0C0;
  // The readout's texts are placed for a box half as wide; spread them over the strip.
  p.CURSINFO.setScaleWidth(kWidth / 2.0);
  font(p.CURSINFO, 8);

  place(p.ScopeScreen, 0, kScreenTop, 11900, kScreenHeight);
  p.ScopeScreen.backColour = kScreen;
  p.ScopeScreen.setScaleHeight(4106);
  p.ScopeScreen.ScaleTop = -1;
  font(p.ScopeScreen, 7);

  place(p.Trigwait, 3950, kScreenTop + 1700, 4000, 800);
  p.Trigwait.backColour = kReadout;
  p.Trigwait.foreColour = 0x0000C0;
  font(p.Trigwait, 12, true);
  p.Trigwait.visible = false;

  place(p.Picture2, 0, kBarTop, kWidth, kBarHeight);
  p.Picture2.backColour = 0xFF0000;  // blue
  p.Picture2.foreColour = 0x00FFFF;  // yellow
  p.Picture2.setScaleHeight(1);
  place(p.HScroll1, 0, kScroll1Top, kWidth, kScrollHeight);
  place(p.HScroll2, 0, kScroll2Top, 8300, kScrollHeight);
  place(p.Picture7, 8300, kScroll2Top, kWidth - 8300, kScrollHeight);
  p.Picture7.backColour = kPanelGrey;
  font(p.Picture7, 8);
  p.Picture7.CurrentX = 300;
}

void layOutMode(Panel& p) {
  const int x = 0, y = kRowA;
  panelBox(p.ModeText, x, y, 2300, kRowAHeight);
  font(p.ModeText, 10, true);
  place(p.SmodeDown, x + 60, y + 300, 280, 360);
  place(p.SCOPEMODE, x + 360, y + 300, 1580, 360);
  p.SCOPEMODE.backColour = kReadout;
  font(p.SCOPEMODE, 11);
  p.SCOPEMODE.CurrentY = 40;
  place(p.SmodeUP, x + 1960, y + 300, 280, 360);
  font(p.SmodeDown, 10, true);
  font(p.SmodeUP, 10, true);
  place(p.GOBUTTON, x + 360, y + 760, 1150, 330);
  font(p.GOBUTTON, 10, true);
  place(p.GOCOLOR, x + 1620, y + 790, 320, 270);
  p.GOCOLOR.backColour = RGB(0xFF, 0, 0);
  // A focus holder with no face of its own.
  place(p.FFTbutton, 0, 0, 0, 0);
}

void layOutTimebase(Panel& p) {
  const int x = 2350, y = kRowA;
  panelBox(p.samdisp, x, y, 3250, 720);
  place(p.SRATEN, 80, 280, 300, 340);
  place(p.SRATEDISP, 400, 280, 920, 340);
  place(p.SRATEP, 1340, 280, 300, 340);
  place(p.SSIZEN, 1690, 280, 300, 340);
  place(p.SSIZEDISP, 2010, 280, 920, 340);
  place(p.SSIZEP, 2940, 280, 290, 340);
  for (PictureArea* d : {&p.SRATEDISP, &p.SSIZEDISP}) {
    d->backColour = kReadout;
    font(*d, 10, true);
    d->CurrentY = 30;
  }

  // The file and utility buttons under the timebase.
  int bx = x, by = y + 780;
  for (Button* b : {&p.fileloadbutton, &p.filesavebutton, &p.Command1, &p.helpbutton, &p.SETUP,
                    &p.UtilButton, &p.Command22}) {
    place(*b, bx, by, 440, 360);
    bx += 468;
  }
  p.Command22.foreColour = 0x0000A0;
  p.Command22.fontBold = true;
  place(p.savename, x, by - 400, 1600, 300);
}

void layOutDisplayPanel(Panel& p) {
  panelBox(p.Picture6, 5650, kRowA, 4500, kRowAHeight);
  font(p.Picture6, 8, true);
  // Its texts are placed for a panel a third as wide; the buttons fill the rows between.
  p.Picture6.setScaleWidth(1500);
  place(p.Scrollup, 760, 40, 210, 190);
  place(p.scrolldown, 990, 40, 210, 190);
  int gx = 1300;
  for (Button* b : {&p.Command13, &p.Command15, &p.Command16, &p.Command12}) {
    place(*b, gx, 30, 740, 280);
    gx += 790;
  }
  int cx = 300;
  for (Button* b : {&p.Command17, &p.Command18, &p.Command8, &p.Command9}) {
    place(*b, cx, 400, 420, 280);
    cx += 440;
  }
  place(p.Command20, 2800, 400, 780, 280);
  place(p.Command21, 3620, 400, 780, 280);
  place(p.Command19, 300, 780, 420, 280);
  place(p.Command23, 780, 780, 660, 280);
  place(p.ZoomButton, 1460, 780, 340, 280);
  int mx = 3000;
  for (Button* b : {&p.Command24, &p.Command26, &p.Command27, &p.Command25}) {
    place(*b, mx, 780, 340, 280);
    mx += 360;
  }
}

void layOutChannels(Panel& p) {
  struct Analogue {
    PictureArea& box;
    Button &onOff, &coupling, &range, &probe;
    PictureArea &up, &down, &mag;
  };
  int x = 0;
  for (Analogue a : {Analogue{p.Picture3, p.SCHAbutton, p.Command2, p.Command3, p.Command4,
                              p.scrollupA, p.scrolldownA, p.YMagAbutton},
                     Analogue{p.Picture4, p.SCHBbutton, p.Command7, p.Command6, p.Command5,
                              p.scrollupB, p.scrolldownB, p.YMagBbutton}}) {
    panelBox(a.box, x, kRowB, 1600, kRowBHeight);
    place(a.range, 1140, 50, 420, 280);
    place(a.up, 40, 420, 210, 190);
    place(a.down, 270, 420, 210, 190);
    place(a.mag, 500, 420, 260, 190);
    // The probe text is printed at x 690 on the row of these two.
    place(a.onOff, 40, 780, 300, 300);
    place(a.coupling, 360, 780, 300, 300);
    place(a.probe, 1140, 720, 420, 280);
    x += 1625;
  }
  struct Digital {
    PictureArea& box;
    Button& onOff;
    PictureArea &up, &down, &mag;
  };
  for (Digital d : {Digital{p.Picture13, p.SCHEbutton, p.scrollupE, p.scrolldownE, p.YMagEbutton},
                    Digital{p.Picture8, p.SCHFbutton, p.scrollupF, p.scrolldownF, p.YMagFbutton}}) {
    panelBox(d.box, x, kRowB, 900, kRowBHeight);
    // The channel name sits a little lower than its units give, clear of "Digital" above.
    d.box.setScaleHeight(kRowBHeight / 1.2);
    place(d.up, 40, 480, 210, 190);
    place(d.down, 270, 480, 210, 190);
    place(d.mag, 500, 480, 260, 190);
    place(d.onOff, 40, 780, 420, 300);
    x += 925;
  }
  for (PictureArea* mag : {&p.YMagAbutton, &p.YMagBbutton, &p.YMagEbutton, &p.YMagFbutton})
    font(*mag, 8, true);
}

void layOutGenerator(Panel& p) {
  // Rows: heading, the setting buttons, the labels, the value box, the step buttons.
  panelBox(p.GENPICTURE, 5100, kRowB, 2800, kRowBHeight);
  place(p.GENMODEBUTTON, 40, 230, 520, 250);
  place(p.GENSTYLEBUTTON, 580, 230, 520, 250);
  place(p.STYLEDISP, 1120, 220, 520, 270);
  p.STYLEDISP.backColour = 0xFFFFFF;
  place(p.GENAMPBUTTON, 1660, 230, 520, 250);
  place(p.SWRATIOBUTTON, 2200, 230, 560, 250);
  place(p.GENFREQDISP, 40, 710, 1400, 260);
  p.GENFREQDISP.backColour = 0xC0C0C0;
  font(p.GENFREQDISP, 9, true);
  place(p.DCUP, 1480, 710, 300, 260);
  place(p.DCDOWN, 1800, 710, 300, 260);
  int x = 40;
  for (Button* b :
       {&p.GENLFREQBUTTONN, &p.GENSFREQBUTTONN, &p.GENSFREQBUTTONP, &p.GENLFREQBUTTONP}) {
    place(*b, x, 990, 320, 190);
    x += 340;
  }
  place(p.GENUPDATEBACK, 1900, 970, 860, 220);
  p.GENUPDATEBACK.backColour = 0xC0FFC0;
  place(p.GENUPDATEBUTTON, 30, 15, 800, 190);
}

void layOutCounter(Panel& p) {
  panelBox(p.Picture10, 7925, kRowB, 2225, kRowBHeight);
  // Its texts are placed for a narrower panel: the title must end before the input
  // and control texts begin.
  p.Picture10.setScaleWidth(1170);
  place(p.Countdisp, 40, 620, 1530, 300);
  p.Countdisp.backColour = kReadout;
  font(p.Countdisp, 11, true);
  // Reset / Start / Stop sits beside the readout it acts on; the settings below.
  place(p.FCntResetbutton, 1600, 620, 585, 300);
  font(p.FCntResetbutton, 8, true);
  int x = 40;
  for (Button* b :
       {&p.FCntModebutton, &p.FCntSourcebutton, &p.FCntStSpbutton, &p.FCntRepeatButton}) {
    place(*b, x, 940, 520, 240);
    font(*b, 7);
    x += 535;
  }
}

// The trigger panel's texts sit on rows that need more height than their units give;
// its user scale stretches them down the panel, with the buttons beside each row.
void layOutTrigger(Panel& p) {
  const int height = kRowB + kRowBHeight - kRowA;
  panelBox(p.Picture5, 10200, kRowA, 1700, height);
  p.Picture5.setScaleWidth(1250);
  p.Picture5.setScaleHeight(height / 1.9);
  auto row = [](double y) { return static_cast<int>(y * 1.9); };
  place(p.TMODEBUTTON, 40, row(120) - 20, 640, 220);
  place(p.TSOURCEBUTTON, 40, row(370) - 20, 640, 220);
  place(p.TSLOPEBUTTON, 40, row(480) + 50, 640, 190);
  place(p.PRETRIGBUTTON, 40, row(620) + 10, 640, 190);
  const int levelTop = row(770) + 230;
  place(p.TRLARGEN, 30, levelTop, 260, 260);
  place(p.TRSMALLN, 320, levelTop, 210, 260);
  place(p.levelval, 555, levelTop, 590, 260);
  p.levelval.backColour = 0xC0C0C0;
  p.levelval.CurrentY = 20;
  place(p.TRSMALLP, 1170, levelTop, 210, 260);
  place(p.TRLARGEP, 1410, levelTop, 260, 260);
  const int lowTop = levelTop + 300;
  place(p.TriglevelBUTTON, 30, lowTop, 520, 260);
  place(p.TRESETBUTTON, 570, lowTop, 520, 260);
  place(p.DelayWin, 1110, lowTop, 580, 260);
  p.DelayWin.backColour = 0xC0FFC0;
  p.DelayWin.CurrentY = 30;
  font(p.DelayWin, 7);
}

void layOutPopups(Panel& p) {
  for (PictureArea* w : {&p.fileloadwindow, &p.filesavewindow, &p.printwindow, &p.helpwindow,
                         &p.CONFIGWINDOW, &p.Filesavefrec}) {
    place(*w, 0, 0, 11895, 8175);
    w->backColour = 0xD8D8D8;
    w->visible = false;
    font(*w, 10);
  }
  int y = 2000;
  for (Button* b : {&p.SETLPT1, &p.SETLPT2, &p.SETLPT3}) {
    place(*b, 830, y, 1300, 450);
    font(*b, 10, true);
    y += 700;
  }
  place(p.CONFIGEXIT, 830, 4600, 1300, 450);
  font(p.CONFIGEXIT, 10, true);
  int x = 600;
  for (Button* b : {&p.CopyAbutton, &p.CopyBbutton, &p.CopyEbutton, &p.CopyFbutton}) {
    place(*b, x, 7400, 2200, 400);
    x += 2400;
  }
  layOutPrintMenu(p);
  layOutHelpPanel(p);
}

}  // namespace

void LayOutPanels(Scope& s) {
  Panel& p = s.panel;
  for (Widget* w : p.controls) {
    font(*w, 8);
    if (w->kind == Widget::Kind::Button) w->backColour = 0xD4D4D4;
  }
  layOutDisplay(p);
  layOutMode(p);
  layOutTimebase(p);
  layOutDisplayPanel(p);
  layOutChannels(p);
  layOutGenerator(p);
  layOutCounter(p);
  layOutTrigger(p);
  layOutPopups(p);
  layOutFilePanels(p);
  layOutMeasurements(p);
  layOutBode(p);
  layOutExtras(p);
  layOutTypedNumbers(p);
}

}  // namespace qvx
