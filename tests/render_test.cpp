#include "display/render.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "display_rig.h"
#include "panel/numeric.h"

namespace qvx {
namespace {

using testing::DisplayRig;
using testing::textsIn;
using testing::traceCount;
using testing::traceIn;

constexpr Colour kA = 0x800000, kB = 0x008000, kMath = 0xC000C0, kC = 0xC07000;

TEST(WindowClamp, DraggingPastTheEndPullsBackWithOneRedraw) {
  DisplayRig rig;
  Scope& s = rig.s();
  const auto clears = rig.screen().clears;
  s.panel.HScroll1.setValue(1500);  // 4K capture: the last window starts at 2047 - 1000

  EXPECT_EQ(s.panel.HScroll1.value(), 1047);
  EXPECT_EQ(rig.screen().clears, clears + 1);
  EXPECT_EQ(s.ViewStart, 1047);
  EXPECT_EQ(s.ViewFirst, 2094);
  // Channel A stops at the last captured point, 4095.
  const DrawOp* a = traceIn(rig.screen(), kA);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->points.size(), 4096u - 2094u);
  EXPECT_EQ(traceCount(rig.screen()), 1);
}

TEST(WindowClamp, WindowWiderThanTheCaptureShowsTheWholeCapture) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SampleSizeIndex = 2;
  HScroll1_Change(s);
  s.panel.HScroll2.setValue(3000);
  ASSERT_EQ(s.ViewWidth, 3000);
  s.SampleSizeIndex = 0;  // a 2K capture, 1024 scroll units
  HScroll1_Change(s);
  EXPECT_EQ(s.panel.HScroll2.value(), 1023);
  EXPECT_EQ(s.ViewWidth, 1023);
  EXPECT_EQ(s.ViewStart, 0);
  EXPECT_EQ(rig.screen().ScaleWidth(), 2046);
}

TEST(WindowClamp, FallsBackToTheWholeTableWhenTheBarsAreNotLimited) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.OperatingMode = 3;  // COUNTER leaves the bar limits alone
  s.panel.HScroll2.Max = 32767;
  s.ViewWidth = 3000;
  const auto clears = rig.screen().clears;
  HScroll1_Change(s);
  EXPECT_EQ(s.ViewWidth, 2048);  // GenLastIndex 4096 / 2
  EXPECT_EQ(s.ViewStart, 0);
  EXPECT_EQ(s.panel.HScroll2.value(), 2048);
  EXPECT_EQ(rig.screen().clears, clears + 1);
  EXPECT_EQ(rig.screen().ScaleWidth(), 4096);
}

TEST(Renderer, ScaleStepsAndBufferBar) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.panel.HScroll1.setValue(500);
  EXPECT_EQ(rig.screen().ScaleWidth(), 2000);
  EXPECT_EQ(rig.screen().ScaleHeight(), 4106);
  EXPECT_EQ(rig.screen().ScaleTop, -1);
  EXPECT_EQ(s.panel.HScroll1.LargeChange, 250);
  EXPECT_EQ(s.panel.HScroll1.SmallChange, 1);
  EXPECT_DOUBLE_EQ(s.CursorCoarseStep, 62.5);
  EXPECT_EQ(s.CursorFineStep, 2);
  EXPECT_EQ(s.ViewPoints, 2001);
  EXPECT_EQ(s.LastShown, 4095);

  PictureArea& bar = s.panel.Picture2;
  EXPECT_EQ(bar.ScaleWidth(), 2047);
  EXPECT_EQ(bar.ScaleHeight(), 1);
  ASSERT_EQ(bar.ops.size(), 1u);
  const auto& pts = bar.ops[0].points;
  EXPECT_FLOAT_EQ(pts.front().x, 500);
  EXPECT_LE(pts.back().x, 1500);
  EXPECT_GT(pts.back().x, 1490);
}

TEST(Renderer, EmptyWindowBeforeTheMagnifyBarIsSetUpDoesNotHang) {
  testing::Rig rig;
  Scope& s = rig.scope;
  wireDisplay(s);
  HScroll2_Change(s);  // the bar still at 0
  EXPECT_EQ(s.ViewWidth, 0);
  int gridLines = 0;
  for (const DrawOp& op : s.panel.ScopeScreen.ops) gridLines += op.colour == 0x808080;
  EXPECT_EQ(gridLines, 8);  // the horizontal lines only
}

TEST(Renderer, RemoteRunWithoutDisplayUpdatesDrawsNothing) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.RemoteExecute = 1;
  s.RemoteDisplayUpdate = 0;
  const auto clears = rig.screen().clears;
  HScroll1_Change(s);
  EXPECT_EQ(rig.screen().clears, clears);
}

TEST(Grid, OffDisablesUnitsAndDrawsNoGridOrLabels) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.UnitsOn = 1;
  HScroll1_Change(s);
  EXPECT_TRUE(s.panel.Command16.enabled);
  EXPECT_FALSE(textsIn(rig.screen(), 0x404040).empty());

  s.GridOn = -1;
  HScroll1_Change(s);
  EXPECT_FALSE(s.panel.Command16.enabled);
  for (const DrawOp& op : rig.screen().ops) {
    EXPECT_NE(op.kind, DrawOp::Kind::Text) << op.text;
    EXPECT_NE(op.style, DrawStyle::Dotted);
  }
}

TEST(Grid, DottedLinesAndTimeLabels) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.UnitsOn = 1;
  s.DataRateIndex = 3;  // 2 MS/s: 2000 points span 1 ms
  HScroll1_Change(s);
  int vertical = 0, horizontal = 0;
  for (const DrawOp& op : rig.screen().ops) {
    if (op.kind != DrawOp::Kind::Line || op.colour != 0x808080) continue;
    EXPECT_EQ(op.style, DrawStyle::Dotted);
    (op.points[0].x == op.points[1].x ? vertical : horizontal)++;
  }
  EXPECT_EQ(vertical, 16);
  EXPECT_EQ(horizontal, 8);
  // One division is 2000 / 16.384 points = 61 us; the last line has no label.
  auto labels = textsIn(rig.screen(), 0x404040);
  ASSERT_EQ(labels.size(), 15u);
  EXPECT_EQ(labels[0], " 61");
  EXPECT_EQ(labels[2], " 183");
  EXPECT_EQ(textsIn(rig.screen(), 0x008000), std::vector<std::string>{"uS"});
}

TEST(Labels, ChannelAOnTenVoltRange) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.UnitsOn = 1;
  s.DataRangeA = 1;
  HScroll1_Change(s);
  EXPECT_EQ(textsIn(rig.screen(), kA),
            (std::vector<std::string>{"-7.5", "-5", "-2.5", " 0", " 2.5", " 5", " 7.5"}));

  // Moved up two divisions at x2: the centre line shows 2 x 0.125 of full scale.
  s.MagIndexA = 1;
  s.PosStepA = 2;
  HScroll1_Change(s);
  auto labels = textsIn(rig.screen(), kA);
  ASSERT_EQ(labels.size(), 7u);
  EXPECT_EQ(labels[3], " 2.5");
  EXPECT_EQ(labels[0], "-1.25");
}

TEST(Labels, DigitalChannelLowOnCentreHighOneDivisionUp) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.UnitsOn = 1;
  s.SelC = 1;
  for (int j = 0; j < 4096; ++j) s.BufC[j] = j % 2 ? 2560 : 2048;
  HScroll1_Change(s);
  EXPECT_EQ(textsIn(rig.screen(), kC), (std::vector<std::string>{" L", " H"}));
  const DrawOp* c = traceIn(rig.screen(), kC);
  ASSERT_NE(c, nullptr);
  EXPECT_FLOAT_EQ(c->points[0].y, 2048);
  EXPECT_FLOAT_EQ(c->points[1].y, 1536);
}

TEST(MathTrace, APlusBWithAOnTenVoltsAndBOnOneVolt) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.UnitsOn = 1;
  s.SelB = 1;
  s.SelAplusB = 1;
  s.DataRangeA = 1;
  s.DataRangeB = 0;
  std::fill(s.BufA.begin(), s.BufA.end(), 2148);
  std::fill(s.BufB.begin(), s.BufB.end(), 2098);
  HScroll1_Change(s);

  EXPECT_EQ(traceIn(rig.screen(), kA), nullptr);
  EXPECT_EQ(traceIn(rig.screen(), kB), nullptr);
  const DrawOp* m = traceIn(rig.screen(), kMath);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->kind, DrawOp::Kind::Polyline);
  // 2048 + ((2048 - 2148) / 10 - (2098 - 2048))
  for (const PointF& p : m->points) ASSERT_FLOAT_EQ(p.y, 1988);
  EXPECT_FALSE(s.panel.scrollupA.visible);
  EXPECT_FALSE(s.panel.YMagBbutton.visible);
  // Labels in the 1 V full scale, none for A or B.
  auto labels = textsIn(rig.screen(), kMath);
  ASSERT_EQ(labels.size(), 7u);
  EXPECT_EQ(labels[0], "-0.75");
  EXPECT_TRUE(textsIn(rig.screen(), kA).empty());
}

TEST(MathTrace, AMinusBAndTheLargerRangeOnB) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SelAminusB = 1;
  std::fill(s.BufA.begin(), s.BufA.end(), 2148);
  std::fill(s.BufB.begin(), s.BufB.end(), 2098);
  HScroll1_Change(s);
  const DrawOp* m = traceIn(rig.screen(), kMath);
  ASSERT_NE(m, nullptr);
  EXPECT_FLOAT_EQ(m->points[0].y, 2048 - 50);  // A - B = 100 - 50 codes up

  s.SelAminusB = -1;
  s.SelAplusB = 1;
  s.DataRangeB = 1;
  s.MathMagIndex = 1;
  s.MagMath = 2;
  s.ShiftMath = 106;  // one position step at x2
  HScroll1_Change(s);
  m = traceIn(rig.screen(), kMath);
  ASSERT_NE(m, nullptr);
  // 2048 + 3 x 106 + 2 x ((2048 - 2148) - 50 / 10)
  EXPECT_FLOAT_EQ(m->points[0].y, 2048 + 318 + 2 * (-105));
}

TEST(Traces, DrawingOrderAndJoinOff) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SelB = 1;
  s.SelC = 1;
  s.SelD = 1;
  s.SelE = 1;
  s.JoinOn = -1;
  HScroll1_Change(s);
  std::vector<Colour> order;
  for (const DrawOp& op : rig.screen().ops) {
    if (op.kind == DrawOp::Kind::Points) order.push_back(op.colour);
    EXPECT_NE(op.kind, DrawOp::Kind::Polyline);
  }
  EXPECT_EQ(order, (std::vector<Colour>{0x0000C0, kC, 0x2090D0, kB, kA}));
}

TEST(Traces, PositionAndMagnificationOfA) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.MagIndexA = 1;
  s.PosStepA = 2;  // one division per step: 2 x 3 x 170.6 below the centre
  s.BufA[0] = 2148;
  HScroll1_Change(s);
  const DrawOp* a = traceIn(rig.screen(), kA);
  ASSERT_NE(a, nullptr);
  const int base = static_cast<int>(roundHalfEven(2048 + 2 * 170.6));
  EXPECT_FLOAT_EQ(a->points[0].y, base + (base - 2148) * 2);
  EXPECT_FLOAT_EQ(a->points[1].y, base + (base - 2048) * 2);
  // The trigger marker's reference line is the zero-volt line: (2 + 1) x shift down.
  EXPECT_EQ(s.BaseA, static_cast<int>(roundHalfEven(2048 + 3 * 2 * 170.6)));
}

TEST(Traces, FftModeDrawsSpectraAtMagnificationOneAndRestores) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.UnitsOn = 1;
  s.OperatingMode = 4;
  s.ScrollUnit = 512;
  s.FftDoneA = s.FftDoneB = 1;  // the buffers already hold spectra
  s.MagIndexA = 1;
  s.BufA[10] = 4095;
  s.PosStepA = 3;
  HScroll1_Change(s);
  EXPECT_DOUBLE_EQ(s.MagA, 2);
  const DrawOp* a = traceIn(rig.screen(), kA);
  ASSERT_NE(a, nullptr);
  EXPECT_FLOAT_EQ(a->points[10].y, 1);
  EXPECT_EQ(textsIn(rig.screen(), 0x202020),
            (std::vector<std::string>{" 0", " 25", " 50", " 75", " 100"}));
  EXPECT_TRUE(textsIn(rig.screen(), kA).empty());
  EXPECT_FALSE(s.panel.scrollupA.visible);
}

}  // namespace
}  // namespace qvx
