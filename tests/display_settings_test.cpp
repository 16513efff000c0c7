#include <gtest/gtest.h>

#include "display/settings.h"
#include "display_rig.h"

namespace qvx {
namespace {

constexpr Colour kMoved = 0x8080FF, kCentred = 0xC0FFC0;

struct Settings : ::testing::Test {
  testing::DisplayRig rig;
  Scope& s = rig.s();
};

TEST_F(Settings, MagnifyRescalesThePositionSoTheTraceKeepsItsVoltage) {
  s.PosStepA = 4;
  const int expected[] = {8, 20, 40, 4};
  const double factors[] = {2, 5, 10, 1};
  for (int k = 0; k < 4; ++k) {
    s.panel.YMagAbutton.click();
    EXPECT_EQ(s.PosStepA, expected[k]) << "click " << k;
    EXPECT_EQ(s.MagA, factors[k]);
    // The centre line keeps showing one full scale above zero.
    EXPECT_NEAR(s.AxisOffsetA, 1.0, 1e-9);
  }
  EXPECT_EQ(s.panel.YMagAbutton.texts(), "1");

  s.MagIndexB = 1;
  s.PosStepB = -3;
  YMagBbutton_Click(s);
  EXPECT_EQ(s.PosStepB, -8);  // Int(-7.5)
  EXPECT_EQ(s.panel.YMagBbutton.backColour, kMoved);

  // Digital channels wrap after x3 and keep their position within range.
  s.MagIndexC = 2;
  s.PosStepC = -15;
  YMagEbutton_Click(s);
  EXPECT_EQ(s.MagIndexC, 0);
  EXPECT_EQ(s.PosStepC, -3);
  EXPECT_EQ(s.ShiftC, -3 * 256);

  s.PosStepD = 5;
  YMagFbutton_Click(s);
  EXPECT_EQ(s.MagIndexD, 1);
  EXPECT_EQ(s.PosStepD, 5);  // not rescaled
  EXPECT_EQ(s.ShiftD, 853);  // 5 x 170.6
}

TEST(Magnify, NothingInGeneratorOrFftMode) {
  for (int mode : {1, 4}) {
    testing::DisplayRig rig;
    Scope& s = rig.s();
    s.OperatingMode = mode;
    s.SelAplusB = 1;
    const auto clears = rig.screen().clears;
    Command12_Click(s);
    YMagAbutton_Click(s);
    YMagEbutton_Click(s);
    EXPECT_EQ(s.MathMagIndex + s.MagIndexA + s.MagIndexC, 0) << mode;
    EXPECT_EQ(rig.screen().clears, clears);
  }
}

TEST_F(Settings, PositionLimitsFollowTheMagnification) {
  for (int k = 0; k < 6; ++k) s.panel.scrollupA.click();
  EXPECT_EQ(s.PosStepA, -4);
  EXPECT_EQ(s.ShiftA, -1024);
  EXPECT_EQ(s.panel.scrollupA.backColour, kMoved);
  EXPECT_EQ(s.panel.scrolldownA.backColour, kCentred);

  s.MagIndexB = 3;
  for (int k = 0; k < 45; ++k) scrolldownB_Click(s);
  EXPECT_EQ(s.PosStepB, 40);

  s.SelAplusB = 1;
  s.MathMagIndex = 2;
  scrolldown_Click(s);
  EXPECT_EQ(s.ShiftMath, 53);
  EXPECT_NEAR(s.AxisOffsetMath, 0.06, 1e-9);
  for (int k = 0; k < 40; ++k) scrolldown_Click(s);
  EXPECT_EQ(s.PosStepMath, 32);
  EXPECT_EQ(s.ShiftMath, 32 * 53);
  for (int k = 0; k < 80; ++k) Scrollup_Click(s);
  EXPECT_EQ(s.PosStepMath, -32);
  s.MathMagIndex = 0;
  s.PosStepMath = 0;
  for (int k = 0; k < 10; ++k) Scrollup_Click(s);
  EXPECT_EQ(s.PosStepMath, -4);
  EXPECT_EQ(s.ShiftMath, -4 * 159);
}

// One position step moves a trace by one grid division (512 units) at every magnification:
// the shift per step shrinks as the factor grows, (factor + 1) x shift staying 512.
TEST_F(Settings, OnePositionStepIsOneDivisionAtEveryMagnification) {
  s.PosStepA = s.PosStepB = s.PosStepC = s.PosStepD = 1;
  for (int m = 0; m < 4; ++m) {
    SCOPED_TRACE(m);
    s.MagIndexA = s.MagIndexB = m;
    scrollcalca(s);
    scrollcalcB(s);
    EXPECT_NEAR((s.MagA + 1) * s.ShiftA, 512, 4);
    EXPECT_NEAR((s.MagB + 1) * s.ShiftB, 512, 4);
    if (m > 2) continue;  // the digital traces have three steps
    s.MagIndexC = s.MagIndexD = m;
    scrollcalce(s);
    scrollcalcf(s);
    EXPECT_NEAR((s.MagC + 1) * s.ShiftC, 512, 4);
    EXPECT_NEAR((s.MagD + 1) * s.ShiftD, 512, 4);
  }
}

}  // namespace
}  // namespace qvx
