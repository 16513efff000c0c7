#include "display/cursor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "display_rig.h"

namespace qvx {
namespace {

using testing::DisplayRig;
using testing::textOp;

// A rig showing channel A at 2 MS/s with a cursor on A at `x`.
struct CursorRig : DisplayRig {
  explicit CursorRig(double x = 0) {
    s().DataRateIndex = 3;
    s().CursorSel = 1;
    s().CursorX = x;
    HScroll1_Change(s());
  }
  bool shows(const std::string& text) { return textOp(scope.panel.CURSINFO, text) != nullptr; }
};

TEST(CursorChoice, CurtestKeepsTheChoiceConsistent) {
  struct Case {
    int sel, aPlusB, aMinusB, expected;
  };
  for (const Case& c : {Case{2, -1, -1, 0},  // B is not displayed
                        Case{1, -1, 1, 6}, Case{1, 1, -1, 5}, Case{7, -1, -1, 0},
                        Case{4, -1, -1, 4}}) {  // digital cursors stay
    DisplayRig rig;
    Scope& s = rig.s();
    s.CursorSel = c.sel;
    s.SelAplusB = c.aPlusB;
    s.SelAminusB = c.aMinusB;
    curtest(s);
    EXPECT_EQ(s.CursorSel, c.expected) << c.sel;
  }
}

TEST(CursorReadout, FiftyMicrosecondsAndItsReciprocal) {
  CursorRig rig(100);  // 100 points at 2 MS/s: 0.05 ms
  Scope& s = rig.s();
  EXPECT_EQ(s.CursorUnit, "uS");
  EXPECT_DOUBLE_EQ(s.CursorReading, 50);
  EXPECT_TRUE(rig.shows("     50") && rig.shows("uS") && rig.shows("V"));
  // 1 / 50 us = 0.02 MHz, shown as 20 KHz.
  EXPECT_TRUE(rig.shows("      20") && rig.shows("KHz"));

  // Counted from the first sample with the window starting at point 1000: 1100 points.
  s.panel.HScroll1.setValue(500);
  EXPECT_DOUBLE_EQ(s.CursorReading, 50);
  s.panel.Cursxwinsel.click();
  cursdraw(s);
  EXPECT_DOUBLE_EQ(s.CursorReading, 0.55);
  EXPECT_EQ(s.CursorUnit, "mS");
  EXPECT_TRUE(rig.shows("KHz"));
}

TEST(CursorReadout, NegativeVoltsInRed) {
  CursorRig rig(40);
  Scope& s = rig.s();
  s.BufA[40] = 2048 - 100;
  cursdraw(s);
  const DrawOp* value = textOp(s.panel.CURSINFO, "-0.0488");  // Int(-488.5 + 0.55) / 10000
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->colour, 0x0000FFu);
  EXPECT_EQ(s.panel.CURSINFO.foreColour, 0u);  // the pen is restored afterwards
}

TEST(CursorReadout, DigitalChannelReadsHighWithoutVolts) {
  CursorRig rig(10);
  Scope& s = rig.s();
  s.SelC = 1;
  s.CursorSel = 3;
  s.BufC[10] = 2560;
  cursdraw(s);
  EXPECT_TRUE(rig.shows("   High "));
  EXPECT_FALSE(rig.shows("V"));
  s.CursorX = 11;
  cursdraw(s);
  EXPECT_TRUE(rig.shows("   Low "));
}

TEST(CursorReadout, FftReadsPercentAndFrequencyWithoutReciprocal) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.OperatingMode = 4;
  s.ScrollUnit = 512;
  s.FftDoneA = s.FftDoneB = 1;
  s.DataRateIndex = 4;  // 20 MS/s over 4096 points: 0.0048828125 MHz per point
  s.BufA[100] = 2048;
  s.CursorSel = 1;
  s.CursorX = 100;
  HScroll1_Change(s);
  EXPECT_NE(textOp(s.panel.CURSINFO, "  50.01"), nullptr);  // Int(2048 / 0.4095) / 100
  EXPECT_EQ(s.CursorUnit, "MHz");
  EXPECT_DOUBLE_EQ(s.CursorReading, 0.4882);
  EXPECT_EQ(s.panel.CURSINFO.ops.size(), 3u);  // value, frequency, unit: no volts, no reciprocal
}

TEST(CursorLine, DrawnInvertingAndErasedWhenMoved) {
  CursorRig rig(300);
  Scope& s = rig.s();
  auto inverted = [&] {
    std::vector<float> xs;
    for (const DrawOp& op : rig.screen().ops)
      if (op.kind == DrawOp::Kind::Line && op.mode == DrawMode::NotXorPen)
        xs.push_back(op.points[0].x);
    return xs;
  };
  EXPECT_EQ(inverted(), std::vector<float>{300});
  Command27_KeyPress(s);  // fine step: 1000 / 512 -> 2 points
  EXPECT_EQ(inverted(), (std::vector<float>{300, 300, 302}));

  s.CursorSel = 0;  // switching off erases the line
  cursdraw(s);
  EXPECT_EQ(inverted(), (std::vector<float>{300, 300, 302, 302}));
}

TEST(CursorMove, RepeatsWhileHeldAndStopsAtTheEdges) {
  CursorRig rig(0);
  Scope& s = rig.s();
  // Released during the fifth event pump: one step, the pause, two repeats.
  rig.host.afterPumps(5, [&] { s.panel.Command25.mouseUp(); });
  s.panel.Command25.mouseDown();
  EXPECT_DOUBLE_EQ(s.CursorX, 3 * 62.5);
  rig.host.afterPumps(1, [&] { s.panel.Command24.mouseUp(); });
  s.panel.Command24.mouseDown();  // released within the pause: a single step
  EXPECT_DOUBLE_EQ(s.CursorX, 2 * 62.5);

  for (int k = 0; k < 40; ++k) Command25_KeyPress(s);
  EXPECT_EQ(s.CursorX, 2000);  // the last point in the window
  s.CursorX = 1;
  Command26_KeyPress(s);
  EXPECT_EQ(s.CursorX, 0);
}

TEST(Zoom, NarrowestWindowStartsAtTheCursor) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SampleSizeIndex = 5;
  HScroll1_Change(s);
  s.panel.HScroll1.setValue(1000);
  s.CursorSel = 1;
  s.CursorX = 300;
  ZoomButton_Click(s);
  EXPECT_EQ(s.panel.HScroll2.value(), 256);
  EXPECT_EQ(rig.screen().ScaleWidth(), 512);
  EXPECT_EQ(s.panel.HScroll1.value(), 1150);
  EXPECT_EQ(s.CursorX, 0);
  EXPECT_EQ(s.CursorXDrawn, 0);
}

TEST(Markspace, SquareWavesOnTheTriggerSource) {
  struct Case {
    int source, rateIndex, period, high, lowFirst;
    const char* text;
    Colour colour;
  };
  for (const Case& c : {Case{0, 3, 100, 30, 0, "CH A| 20kHz|d.c  30 %", 0x800000},
                        Case{1, 1, 400, 100, 300, "CH B| 50Hz|d.c  25 %", 0x00A000}}) {
    DisplayRig rig;
    Scope& s = rig.s();
    s.TrigSource = c.source;
    s.SampleRateIndex = c.rateIndex;
    SampleBuffer& buf = c.source ? s.BufB : s.BufA;
    for (int j = 0; j < 4096; ++j) {
      const int phase = (j + c.period - c.lowFirst) % c.period;
      buf[j] = static_cast<std::int16_t>(phase < c.high ? 3000 : 1000);
    }
    HScroll1_Change(s);
    EXPECT_EQ(s.panel.CURSINFO.texts(), c.text);
    EXPECT_EQ(s.panel.CURSINFO.ops[0].colour, c.colour);
  }
}

TEST(Markspace, FlatOrIncompleteSignalLeavesTheReadoutEmpty) {
  for (bool oneRiseOnly : {false, true}) {
    DisplayRig rig;
    Scope& s = rig.s();
    for (int j = 0; j < 4096; ++j)
      s.BufA[j] = static_cast<std::int16_t>(oneRiseOnly ? (j < 3000 ? 1000 : 3000) : 2048 + j % 9);
    HScroll1_Change(s);
    EXPECT_EQ(s.MeasInvalid, 1);
    EXPECT_TRUE(s.panel.CURSINFO.ops.empty());
  }
}

}  // namespace
}  // namespace qvx
