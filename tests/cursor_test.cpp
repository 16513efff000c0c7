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
    Scope& sc = s();
    sc.DataRateIndex = 3;
    sc.CursorSel = 1;
    sc.CursorX = x;
    HScroll1_Change(sc);
  }
  std::string readout() { return scope.panel.CURSINFO.texts(); }
};

TEST(CursorChoice, StepsThroughTheDisplayedChannels) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SelC = 1;
  s.SelE = 1;
  std::vector<int> seen;
  for (int k = 0; k < 4; ++k) {
    s.panel.Command23.click();
    seen.push_back(s.CursorSel);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 7, 0}));
  EXPECT_FALSE(s.panel.ZoomButton.enabled);

  s.SelAplusB = 1;  // A and B give way to the math trace
  Command23_Click(s);
  EXPECT_EQ(s.CursorSel, 3);
  Command23_Click(s);
  EXPECT_EQ(s.CursorSel, 5);
  EXPECT_TRUE(s.panel.ZoomButton.enabled);
  EXPECT_EQ(s.panel.CURSINFO.backColour, 0xC0FFFFu);

  s.OperatingMode = 1;  // GENERATOR: only E or nothing
  Command23_Click(s);
  EXPECT_EQ(s.CursorSel, 0);
  Command23_Click(s);
  EXPECT_EQ(s.CursorSel, 7);
}

TEST(CursorChoice, CurtestKeepsTheChoiceConsistent) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.CursorSel = 2;  // B is not displayed
  curtest(s);
  EXPECT_EQ(s.CursorSel, 0);
  s.CursorSel = 1;
  s.SelAminusB = 1;
  curtest(s);
  EXPECT_EQ(s.CursorSel, 6);
  s.SelAminusB = -1;
  s.SelAplusB = 1;
  curtest(s);
  EXPECT_EQ(s.CursorSel, 5);
  s.CursorSel = 7;
  curtest(s);
  EXPECT_EQ(s.CursorSel, 0);
  s.CursorSel = 4;  // digital cursors stay
  curtest(s);
  EXPECT_EQ(s.CursorSel, 4);
}

TEST(CursorReadout, FiftyMicrosecondsAndItsReciprocal) {
  CursorRig rig(100);  // 100 points at 2 MS/s: 0.05 ms
  Scope& s = rig.s();
  EXPECT_EQ(s.CursorUnit, "uS");
  EXPECT_DOUBLE_EQ(s.CursorReading, 50);
  EXPECT_NE(textOp(s.panel.CURSINFO, "     50"), nullptr);
  EXPECT_NE(textOp(s.panel.CURSINFO, "uS"), nullptr);
  // 1 / 50 us = 0.02 MHz, i.e. 20 kHz.
  EXPECT_NE(textOp(s.panel.CURSINFO, "    0.02"), nullptr);
  EXPECT_NE(textOp(s.panel.CURSINFO, "MHz"), nullptr);
  EXPECT_NE(textOp(s.panel.CURSINFO, "V"), nullptr);
}

TEST(CursorReadout, AbsoluteTimeCountsFromTheFirstSample) {
  CursorRig rig(100);
  Scope& s = rig.s();
  s.panel.HScroll1.setValue(500);  // the window starts at point 1000
  EXPECT_DOUBLE_EQ(s.CursorReading, 50);
  s.panel.Cursxwinsel.click();
  EXPECT_EQ(s.CursorAbsolute, 1);
  cursdraw(s);
  EXPECT_DOUBLE_EQ(s.CursorReading, 0.55);  // 1100 points
  EXPECT_EQ(s.CursorUnit, "mS");
  EXPECT_NE(textOp(s.panel.CURSINFO, "KHz"), nullptr);
}

TEST(CursorReadout, NegativeVoltsInRed) {
  CursorRig rig;
  Scope& s = rig.s();
  s.BufA[40] = 2048 - 100;
  s.CursorX = 40;
  cursdraw(s);
  const DrawOp* value = textOp(s.panel.CURSINFO, "-0.0488");  // Int(-488.5 + 0.55) / 10000
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->colour, 0x0000FFu);
  EXPECT_EQ(s.panel.CURSINFO.foreColour, 0u);  // the pen is restored afterwards

  s.BufA[40] = 2048 + 1000;
  s.DataRangeA = 1;
  cursdraw(s);
  value = textOp(s.panel.CURSINFO, "  4.885");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->colour, 0u);
}

TEST(CursorReadout, DigitalChannelReadsHighWithoutVolts) {
  CursorRig rig;
  Scope& s = rig.s();
  s.SelC = 1;
  s.CursorSel = 3;
  s.BufC[10] = 2560;
  s.CursorX = 10;
  cursdraw(s);
  EXPECT_NE(textOp(s.panel.CURSINFO, "   High "), nullptr);
  EXPECT_EQ(textOp(s.panel.CURSINFO, "V"), nullptr);
  s.CursorX = 11;
  cursdraw(s);
  EXPECT_NE(textOp(s.panel.CURSINFO, "   Low "), nullptr);
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
  EXPECT_EQ(textOp(s.panel.CURSINFO, "V"), nullptr);
  EXPECT_EQ(s.panel.CURSINFO.ops.size(), 3u);

  s.DataRateIndex = 2;  // 200 kS/s: 100 points are 4.8828 kHz
  cursdraw(s);
  EXPECT_EQ(s.CursorUnit, "KHz");
  EXPECT_DOUBLE_EQ(s.CursorReading, 4.8828);
  s.DataRateIndex = 0;
  cursdraw(s);
  EXPECT_EQ(s.CursorUnit, "Hz");
  EXPECT_DOUBLE_EQ(s.CursorReading, 48.828);
}

TEST(CursorLine, DrawnInvertingAndErasedWhenMoved) {
  CursorRig rig(300);
  Scope& s = rig.s();
  auto inverted = [&] {
    std::vector<float> xs;
    for (const DrawOp& op : rig.screen().ops)
      if (op.kind == DrawOp::Kind::Line && op.mode == DrawMode::NotXorPen) {
        EXPECT_EQ(op.width, 2);
        xs.push_back(op.points[0].x);
      }
    return xs;
  };
  EXPECT_EQ(inverted(), std::vector<float>{300});
  EXPECT_EQ(rig.screen().drawMode, DrawMode::CopyPen);
  EXPECT_EQ(s.CursorDrawn, 1);

  Command27_KeyPress(s);  // fine step: 1000 / 512 -> 2 points
  EXPECT_EQ(inverted(), (std::vector<float>{300, 300, 302}));

  s.CursorSel = 0;  // switching off erases the line and shows the measurement
  cursdraw(s);
  EXPECT_EQ(inverted(), (std::vector<float>{300, 300, 302, 302}));
  EXPECT_EQ(s.CursorDrawn, 0);
  EXPECT_FALSE(s.panel.Command25.enabled);
}

TEST(CursorMove, RepeatsWhileHeldAndStopsAtTheEdges) {
  CursorRig rig(0);
  Scope& s = rig.s();
  // Released during the fifth event pump: one step, the 300 ms pause, two repeats.
  rig.host.afterPumps(5, [&] { s.panel.Command25.mouseUp(); });
  s.panel.Command25.mouseDown();
  EXPECT_DOUBLE_EQ(s.CursorX, 3 * 62.5);
  EXPECT_EQ(rig.host.sleeps, (std::vector<int>{100, 100, 100, 50, 50}));
  EXPECT_EQ(s.CursorButtonHeld, 0);

  rig.host.sleeps.clear();
  rig.host.afterPumps(1, [&] { s.panel.Command24.mouseUp(); });
  s.panel.Command24.mouseDown();  // released within the pause: a single step
  EXPECT_DOUBLE_EQ(s.CursorX, 2 * 62.5);
  EXPECT_EQ(rig.host.sleeps, (std::vector<int>{100, 100, 100}));

  for (int k = 0; k < 40; ++k) Command25_KeyPress(s);
  EXPECT_EQ(s.CursorX, 2000);  // ViewPoints - 1
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
  Command23_Click(s);  // back to no cursor: zoom does nothing then
  ASSERT_EQ(s.CursorSel, 0);
  ZoomButton_Click(s);
  EXPECT_FALSE(s.panel.ZoomButton.enabled);
  EXPECT_EQ(s.panel.HScroll2.value(), 1000);

  s.CursorSel = 1;
  s.CursorX = 300;
  ZoomButton_Click(s);
  EXPECT_EQ(s.panel.HScroll2.value(), 256);
  EXPECT_EQ(rig.screen().ScaleWidth(), 512);
  EXPECT_EQ(s.panel.HScroll1.value(), 1150);
  EXPECT_EQ(s.ViewFirst, 2300);
  EXPECT_EQ(s.CursorX, 0);
}

TEST(Zoom, AtTheEndOfTheCaptureStillRedrawsTheCursorAtTheLeftEdge) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.panel.HScroll2.setValue(256);
  s.panel.HScroll1.setValue(2047);  // window pulled back to 1791
  s.CursorSel = 1;
  s.CursorX = 100;
  HScroll1_Change(s);
  ZoomButton_Click(s);
  EXPECT_EQ(s.panel.HScroll1.value(), 1791);
  EXPECT_EQ(s.CursorX, 0);
  EXPECT_EQ(s.CursorXDrawn, 0);
}

TEST(Markspace, SquareStartingHigh) {
  DisplayRig rig;
  Scope& s = rig.s();
  for (int j = 0; j < 4096; ++j) s.BufA[j] = j % 100 < 30 ? 3000 : 1000;
  HScroll1_Change(s);
  // Falls at 30 and 130, rise at 100: period 100 points, high for 30.
  EXPECT_EQ(s.MeasEdges[0], 30);
  EXPECT_EQ(s.MeasEdges[2], 100);
  EXPECT_EQ(s.MeasEdges[1], 130);
  EXPECT_FLOAT_EQ(s.MeasDuty, 30);
  EXPECT_EQ(s.panel.CURSINFO.texts(), "CH A| 20kHz|d.c  30 %");  // 2 MS/s / 100
  EXPECT_TRUE(s.panel.CURSINFO.ops[0].bold);
  EXPECT_EQ(s.panel.CURSINFO.ops[0].colour, s.TraceColour[0]);
}

TEST(Markspace, SquareStartingLowOnChannelB) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.TrigSource = 1;
  s.SampleRateIndex = 1;
  for (int j = 0; j < 4096; ++j) s.BufB[j] = j % 400 < 300 ? 1000 : 3000;
  HScroll1_Change(s);
  EXPECT_FLOAT_EQ(s.MeasDuty, 25);
  EXPECT_EQ(s.panel.CURSINFO.texts(), "CH B| 50Hz|d.c  25 %");
  EXPECT_EQ(s.panel.CURSINFO.ops[0].colour, 0x00A000u);
}

TEST(Markspace, FlatOrIncompleteSignalLeavesTheReadoutEmpty) {
  DisplayRig rig;
  Scope& s = rig.s();
  for (int j = 0; j < 4096; ++j) s.BufA[j] = 2048 + j % 9;
  HScroll1_Change(s);
  EXPECT_EQ(s.MeasInvalid, 1);
  EXPECT_TRUE(s.panel.CURSINFO.ops.empty());

  for (int j = 0; j < 4096; ++j) s.BufA[j] = j < 3000 ? 1000 : 3000;  // one rise only
  HScroll1_Change(s);
  EXPECT_EQ(s.MeasInvalid, 1);
  EXPECT_TRUE(s.panel.CURSINFO.ops.empty());
}

}  // namespace
}  // namespace qvx
