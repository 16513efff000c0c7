#include "display/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "display_rig.h"
#include "panel/numeric.h"

namespace qvx {
namespace {

using testing::textsIn;
using testing::traceIn;
using Texts = std::vector<std::string>;

constexpr Colour kA = 0x800000, kMath = 0xC000C0, kC = 0xC07000;
constexpr Colour kGrid = 0x808080, kTimeLabel = 0x404040, kTimeUnit = 0x008000;

// The display rig with the unit labels on.
struct Render : ::testing::Test {
  Render() { s.UnitsOn = 1; }
  testing::DisplayRig rig;
  Scope& s = rig.s();
  PictureArea& screen = rig.screen();
};

TEST_F(Render, DraggingPastTheEndPullsBackWithOneRedraw) {
  const auto clears = screen.clears;
  s.panel.HScroll1.setValue(1500);  // 4K capture: the last window starts at 2047 - 1000
  EXPECT_EQ(s.panel.HScroll1.value(), 1047);
  EXPECT_EQ(screen.clears, clears + 1);
  // Channel A alone, stopping at the last captured point, 4095.
  const DrawOp* a = traceIn(screen, kA);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->points.size(), 4096u - 2094u);
  EXPECT_EQ(testing::traceCount(screen), 1);
  // The buffer bar marks the window within the capture.
  const auto& bar = s.panel.Picture2.ops;
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_FLOAT_EQ(bar[0].points.front().x, 1047);
  EXPECT_NEAR(bar[0].points.back().x, 2042, 5);  // 2037 .. 2047
}

TEST_F(Render, WindowWiderThanTheCaptureShowsTheWholeCapture) {
  s.SampleSizeIndex = 2;
  HScroll1_Change(s);
  s.panel.HScroll2.setValue(3000);
  s.SampleSizeIndex = 0;  // a 2K capture, 1024 scroll units
  HScroll1_Change(s);
  EXPECT_EQ(s.panel.HScroll2.value(), 1023);
  EXPECT_EQ(s.ViewStart, 0);
  EXPECT_EQ(screen.ScaleWidth(), 2046);
}

TEST(Renderer, EmptyWindowBeforeTheMagnifyBarIsSetUpDoesNotHang) {
  testing::Rig rig;
  wireDisplay(rig.scope);
  HScroll2_Change(rig.scope);  // the bar still at 0
  const auto& ops = rig.scope.panel.ScopeScreen.ops;
  EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](auto& op) { return op.colour == kGrid; }),
            8);  // the horizontal lines only
}

// A grid division is 2000 / 16.384 points: 610 sample periods, in the unit of each rate.
// Every dotted vertical line but the last is labelled; grid off drops every text.
TEST_F(Render, DottedGridAndTimePerDivisionAtEveryRate) {
  const struct {
    int rate;
    const char *first, *second, *unit;
  } cases[] = {{4, " 6.1", " 12.2", "uS"},
               {3, " 61", " 122", "uS"},
               {2, " 0.61", " 1.22", "mS"},
               {1, " 6.1", " 12.2", "mS"},
               {0, " 61", " 122", "mS"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    s.DataRateIndex = c.rate;
    HScroll1_Change(s);
    const Texts labels = textsIn(screen, kTimeLabel);
    ASSERT_EQ(labels.size(), 15u);
    EXPECT_EQ(labels[0], c.first);
    EXPECT_EQ(labels[1], c.second);
    EXPECT_EQ(textsIn(screen, kTimeUnit), Texts{c.unit});
  }
  int vertical = 0, horizontal = 0;
  for (const DrawOp& op : screen.ops) {
    if (op.kind != DrawOp::Kind::Line || op.colour != kGrid) continue;
    EXPECT_EQ(op.style, DrawStyle::Dotted);
    (op.points[0].x == op.points[1].x ? vertical : horizontal)++;
  }
  EXPECT_EQ(vertical, 16);
  EXPECT_EQ(horizontal, 8);
  EXPECT_TRUE(s.panel.Command16.enabled);

  s.GridOn = -1;
  HScroll1_Change(s);
  EXPECT_FALSE(s.panel.Command16.enabled);
  for (const DrawOp& op : screen.ops) {
    EXPECT_NE(op.kind, DrawOp::Kind::Text) << op.text;
    EXPECT_NE(op.style, DrawStyle::Dotted);
  }
}

TEST_F(Render, AnalogueLabelsOnTheTenVoltRangeAndDigitalLowOnTheCentreLine) {
  s.DataRangeA = s.SelC = 1;
  for (int j = 0; j < 4096; ++j) s.BufC[j] = j % 2 ? 2560 : 2048;
  HScroll1_Change(s);
  EXPECT_EQ(textsIn(screen, kA), (Texts{"-7.5", "-5", "-2.5", " 0", " 2.5", " 5", " 7.5"}));
  EXPECT_EQ(textsIn(screen, kC), (Texts{" L", " H"}));
  const DrawOp* c = traceIn(screen, kC);
  ASSERT_NE(c, nullptr);
  EXPECT_FLOAT_EQ(c->points[0].y, 2048);
  EXPECT_FLOAT_EQ(c->points[1].y, 1536);  // one division up
}

TEST_F(Render, PositionAndMagnificationMoveTraceAndLabelsTogether) {
  s.DataRangeA = s.MagIndexA = 1;
  s.PosStepA = 2;  // one division per step: 2 x 3 x 170.6 below the centre
  s.BufA[0] = 2148;
  HScroll1_Change(s);
  const DrawOp* a = traceIn(screen, kA);
  ASSERT_NE(a, nullptr);
  const int base = static_cast<int>(roundHalfEven(2048 + 2 * 170.6));
  EXPECT_FLOAT_EQ(a->points[0].y, base + (base - 2148) * 2);
  EXPECT_FLOAT_EQ(a->points[1].y, base + (base - 2048) * 2);
  // The trigger marker's reference line is the zero-volt line: (2 + 1) x shift down.
  EXPECT_EQ(s.BaseA, static_cast<int>(roundHalfEven(2048 + 3 * 2 * 170.6)));
  // The centre line shows 2 x 0.125 of full scale.
  const Texts labels = textsIn(screen, kA);
  ASSERT_EQ(labels.size(), 7u);
  EXPECT_EQ(labels[0], "-1.25");
  EXPECT_EQ(labels[3], " 2.5");
}

// A = 2148 (100 codes up) and B = 2098 (50 up); a code taken on the 10 V range counts a
// tenth of one on the 1 V range, and the math trace replaces A and B.
TEST_F(Render, MathTraceSumAndDifferenceInTheOneVoltScale) {
  s.SelB = 1;
  std::fill(s.BufA.begin(), s.BufA.end(), 2148);
  std::fill(s.BufB.begin(), s.BufB.end(), 2098);
  for (auto [plus, minus, rangeA, rangeB, magIndex, shift, y] :
       {std::tuple{1, -1, 1, 0, 0, 0.0, 2048.0 + (-100 / 10 - 50)},
        {-1, 1, 0, 0, 0, 0, 2048 - (100 - 50)},
        {1, -1, 0, 1, 1, 106, 2048 + 3 * 106 + 2 * (-100 - 50 / 10)}}) {
    SCOPED_TRACE(y);
    s.SelAplusB = plus;
    s.SelAminusB = minus;
    s.DataRangeA = rangeA;
    s.DataRangeB = rangeB;
    s.MathMagIndex = magIndex;
    s.MagMath = 1 << magIndex;
    s.ShiftMath = shift;
    HScroll1_Change(s);
    const DrawOp* m = traceIn(screen, kMath);
    ASSERT_NE(m, nullptr);
    for (const PointF& p : m->points) ASSERT_FLOAT_EQ(p.y, y);
    EXPECT_EQ(testing::traceCount(screen), 1);
    EXPECT_TRUE(textsIn(screen, kA).empty());
    EXPECT_FALSE(s.panel.scrollupA.visible || s.panel.YMagBbutton.visible);
    if (magIndex == 0) EXPECT_EQ(textsIn(screen, kMath).front(), "-0.75");
  }
}

}  // namespace
}  // namespace qvx
