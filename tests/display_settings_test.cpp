#include <gtest/gtest.h>

#include "display/settings.h"
#include "display_rig.h"

namespace qvx {
namespace {

using testing::DisplayRig;

constexpr Colour kMoved = 0x8080FF, kCentred = 0xC0FFC0;

TEST(Magnify, PositionIsRescaledSoTheTraceKeepsItsVoltage) {
  DisplayRig rig;
  Scope& s = rig.s();
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
    DisplayRig rig;
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

TEST(Position, LimitsFollowTheMagnification) {
  DisplayRig rig;
  Scope& s = rig.s();
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

}  // namespace
}  // namespace qvx
