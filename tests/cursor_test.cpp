#include "display/cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "display_rig.h"
#include "files/calibration.h"

namespace qvx {
namespace {

using testing::textOp;

// The display rig at 2 MS/s.
struct Cursor : ::testing::Test {
  Cursor() { s.DataRateIndex = 3; }
  // Redraws with the cursor on channel `sel` at `x`.
  void show(double x, int sel = 1) {
    s.CursorSel = sel;
    s.CursorX = x;
    HScroll1_Change(s);
  }
  bool shows(const std::string& text) { return textOp(s.panel.CURSINFO, text) != nullptr; }
  testing::DisplayRig rig;
  Scope& s = rig.s();
};

// A cursor on an undisplayed or unknown trace goes off; on A with a math trace shown it
// moves to that trace (5 the sum, 6 the difference).
TEST_F(Cursor, CurtestKeepsTheChoiceConsistent) {
  for (auto [sel, aPlusB, aMinusB, expected] :
       {std::array{2, -1, -1, 0}, {1, -1, 1, 6}, {1, 1, -1, 5}, {7, -1, -1, 0}, {4, -1, -1, 4}}) {
    s.CursorSel = sel;
    s.SelAplusB = aPlusB;
    s.SelAminusB = aMinusB;
    curtest(s);
    EXPECT_EQ(s.CursorSel, expected) << sel;
  }
}

TEST_F(Cursor, ReadsFiftyMicrosecondsItsReciprocalAndFromTheFirstSample) {
  show(100);  // 100 points at 2 MS/s: 0.05 ms
  EXPECT_EQ(s.CursorUnit, "uS");
  EXPECT_DOUBLE_EQ(s.CursorReading, 50);
  EXPECT_TRUE(shows("     50") && shows("uS") && shows("V"));
  EXPECT_TRUE(shows("      20") && shows("KHz"));  // 1 / 50 us = 0.02 MHz

  // Counted from the first sample with the window starting at point 1000: 1100 points.
  s.panel.HScroll1.setValue(500);
  EXPECT_DOUBLE_EQ(s.CursorReading, 50);
  Cursxwinsel_Click(s);  // the adjustment panel's reference button
  cursdraw(s);
  EXPECT_DOUBLE_EQ(s.CursorReading, 0.55);
  EXPECT_EQ(s.CursorUnit, "mS");
}

TEST_F(Cursor, NegativeVoltsInRedAndDigitalLevelsWithoutVolts) {
  s.BufA[40] = 2048 - 100;
  show(40);
  const DrawOp* value = textOp(s.panel.CURSINFO, "-0.0488");  // Int(-488.5 + 0.55) / 10000
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->colour, 0x0000FFu);
  EXPECT_EQ(s.panel.CURSINFO.foreColour, 0u);  // the pen is restored afterwards

  s.SelC = 1;
  s.BufC[10] = 2560;
  show(10, 3);
  EXPECT_TRUE(shows("   High "));
  EXPECT_FALSE(shows("V"));
  show(11, 3);
  EXPECT_TRUE(shows("   Low "));
}

// In FFT mode the spectra are drawn at magnification one (restored afterwards) on a
// percent scale, and the cursor reads percent and frequency without a reciprocal.
TEST_F(Cursor, FftSpectraOnAPercentScaleAndTheCursorReadsPercentAndFrequency) {
  s.OperatingMode = 4;
  s.ScrollUnit = 512;
  s.FftDoneA = s.FftDoneB = s.UnitsOn = 1;  // the buffers already hold spectra
  s.MagIndexA = 1;
  s.PosStepA = 3;
  s.DataRateIndex = 4;  // 20 MS/s over 4096 points: 0.0048828125 MHz per point
  s.BufA[10] = 4095;
  s.BufA[100] = 2048;
  show(100);
  EXPECT_DOUBLE_EQ(s.MagA, 2);
  const DrawOp* a = testing::traceIn(rig.screen(), 0x800000);
  ASSERT_NE(a, nullptr);
  EXPECT_FLOAT_EQ(a->points[10].y, 1);  // the largest point touches the top line
  EXPECT_EQ(testing::textsIn(rig.screen(), 0x202020),
            (std::vector<std::string>{" 0", " 25", " 50", " 75", " 100"}));
  EXPECT_TRUE(testing::textsIn(rig.screen(), 0x800000).empty()) << "no volt labels";
  EXPECT_TRUE(shows("  50.01"));  // Int(2048 / 0.4095) / 100
  EXPECT_EQ(s.CursorUnit, "MHz");
  EXPECT_DOUBLE_EQ(s.CursorReading, 0.4882);
  EXPECT_EQ(s.panel.CURSINFO.ops.size(), 3u);  // value, frequency, unit: no volts, no reciprocal
}

TEST_F(Cursor, LineDrawnInvertingAndErasedWhenMovedOrSwitchedOff) {
  show(300);
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
  s.CursorSel = 0;
  cursdraw(s);
  EXPECT_EQ(inverted(), (std::vector<float>{300, 300, 302, 302}));
}

TEST_F(Cursor, MoveRepeatsWhileHeldAndStopsAtTheEdges) {
  show(0);
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

TEST_F(Cursor, ZoomsToTheNarrowestWindowStartingAtTheCursor) {
  s.SampleSizeIndex = 5;
  HScroll1_Change(s);
  s.panel.HScroll1.setValue(1000);
  s.CursorSel = 1;
  s.CursorX = 300;
  ZoomButton_Click(s);
  EXPECT_EQ(s.panel.HScroll2.value(), 256);
  EXPECT_EQ(s.panel.HScroll1.value(), 1150);
  EXPECT_EQ(s.CursorX + s.CursorXDrawn, 0);
}

// The measurement of the trigger source: frequency and duty cycle of a square wave, and
// an empty readout where there is no whole period to measure.
TEST(Markspace, SquareWavesOnTheTriggerSourceAndNothingWithoutAPeriod) {
  for (auto [source, rateIndex, period, high, lowFirst, swing, text] :
       {std::tuple{0, 3, 100, 30, 0, 952, "CH A| 20kHz|d.c  30 %"},
        {1, 1, 400, 100, 300, 952, "CH B| 50Hz|d.c  25 %"},
        {0, 3, 9, 4, 0, 4, ""},                // a ripple of a few codes
        {0, 3, 4096, 1096, 3000, 952, ""}}) {  // a single rise
    SCOPED_TRACE(text);
    testing::DisplayRig rig;
    Scope& s = rig.s();
    s.TrigSource = source;
    s.DataRateIndex = rateIndex;  // the rate the capture was taken at, not the panel's next
    SampleBuffer& buf = source ? s.BufB : s.BufA;
    for (int j = 0; j < 4096; ++j)
      buf[j] = static_cast<std::int16_t>(
          2048 + ((j + period - lowFirst) % period < high ? swing : -swing));
    HScroll1_Change(s);
    EXPECT_EQ(s.panel.CURSINFO.texts(), text);
    EXPECT_EQ(s.MeasInvalid, *text == 0);
    if (*text) EXPECT_EQ(s.panel.CURSINFO.ops[0].colour, source ? 0x00A000u : 0x800000u);
  }
}

}  // namespace
}  // namespace qvx
