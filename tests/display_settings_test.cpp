#include <gtest/gtest.h>

#include "display/settings.h"
#include "display_rig.h"

namespace qvx {
namespace {

using testing::DisplayRig;
using testing::textOp;

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
  EXPECT_EQ(s.MagIndexA, 0);
  EXPECT_EQ(s.panel.YMagAbutton.texts(), "1");
}

TEST(Magnify, NegativePositionsRoundDown) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.MagIndexB = 1;
  s.PosStepB = -3;
  YMagBbutton_Click(s);
  EXPECT_EQ(s.MagIndexB, 2);
  EXPECT_EQ(s.PosStepB, -8);
  EXPECT_EQ(s.panel.YMagBbutton.backColour, kMoved);
  YMagBbutton_Click(s);
  EXPECT_EQ(s.panel.YMagBbutton.texts(), "10");
  EXPECT_FLOAT_EQ(s.panel.YMagBbutton.ops[0].points[0].x, 10);
}

TEST(Magnify, DigitalChannelWrapsAndLimitsThePosition) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.MagIndexC = 2;
  s.PosStepC = -15;
  YMagEbutton_Click(s);
  EXPECT_EQ(s.MagIndexC, 0);
  EXPECT_EQ(s.PosStepC, -3);
  EXPECT_EQ(s.ShiftC, -3 * 256);

  s.MagIndexD = 0;
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
    EXPECT_EQ(s.MathMagIndex, 0);
    EXPECT_EQ(s.MagIndexA, 0);
    EXPECT_EQ(s.MagIndexC, 0);
    EXPECT_EQ(rig.screen().clears, clears);
  }
}

TEST(Magnify, YMagCyclesTheMathTraceAndResetsItsPosition) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SelAplusB = 1;
  SDISPLAY(s);
  EXPECT_TRUE(s.panel.Command12.enabled);
  EXPECT_FALSE(s.panel.TriglevelBUTTON.enabled);
  EXPECT_FALSE(s.panel.Scrollup.visible);  // moved only when magnified

  s.panel.Command12.click();
  EXPECT_EQ(s.MathMagIndex, 1);
  EXPECT_EQ(s.MagMath, 2);
  EXPECT_TRUE(s.panel.Scrollup.visible);
  EXPECT_NE(textOp(s.panel.Picture6, " x 2 "), nullptr);
  s.panel.scrolldown.click();
  EXPECT_EQ(s.ShiftMath, 106);
  EXPECT_NEAR(s.AxisOffsetMath, 0.15, 1e-9);

  s.panel.Command12.click();
  s.panel.Command12.click();
  EXPECT_EQ(s.MathMagIndex, 0);
  EXPECT_EQ(s.PosStepMath, 0);
  EXPECT_EQ(s.ShiftMath, 0);
  EXPECT_EQ(s.AxisOffsetMath, 0);
  EXPECT_NE(textOp(s.panel.Picture6, " x 1 "), nullptr);
  EXPECT_EQ(textOp(s.panel.Picture6, " x 2 "), nullptr);  // printed over, not piled up
}

TEST(Position, LimitsFollowTheMagnification) {
  DisplayRig rig;
  Scope& s = rig.s();
  for (int k = 0; k < 6; ++k) s.panel.scrollupA.click();
  EXPECT_EQ(s.PosStepA, -4);
  EXPECT_EQ(s.ShiftA, -1024);
  EXPECT_EQ(s.panel.scrollupA.backColour, kMoved);
  EXPECT_EQ(s.panel.scrolldownA.backColour, kCentred);
  EXPECT_EQ(s.panel.scrollupA.ops.size(), 2u);  // the arrow

  s.MagIndexB = 3;
  for (int k = 0; k < 45; ++k) scrolldownB_Click(s);
  EXPECT_EQ(s.PosStepB, 40);
  for (int k = 0; k < 25; ++k) scrolldownF_Click(s);
  EXPECT_EQ(s.PosStepD, 4);
}

TEST(Position, MathLimitsPerStep) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.SelAplusB = 1;
  s.MathMagIndex = 2;
  for (int k = 0; k < 40; ++k) scrolldown_Click(s);
  EXPECT_EQ(s.PosStepMath, 32);
  EXPECT_EQ(s.ShiftMath, 32 * 53);
  EXPECT_EQ(s.panel.scrolldown.backColour, kMoved);
  for (int k = 0; k < 80; ++k) Scrollup_Click(s);
  EXPECT_EQ(s.PosStepMath, -32);

  s.MathMagIndex = 0;
  s.PosStepMath = 0;
  for (int k = 0; k < 10; ++k) Scrollup_Click(s);
  EXPECT_EQ(s.PosStepMath, -4);
  EXPECT_EQ(s.ShiftMath, -4 * 159);
}

TEST(Toggles, GridJoinUnitsFlipRedrawAndShowInBold) {
  DisplayRig rig;
  Scope& s = rig.s();
  const auto clears = rig.screen().clears;
  s.panel.Command16.click();
  EXPECT_EQ(s.UnitsOn, 1);
  EXPECT_TRUE(s.panel.Command16.fontBold);
  s.panel.Command15.click();
  EXPECT_EQ(s.JoinOn, -1);
  EXPECT_FALSE(s.panel.Command15.fontBold);
  s.panel.Command13.click();
  EXPECT_EQ(s.GridOn, -1);
  EXPECT_FALSE(s.panel.Command13.fontBold);
  EXPECT_EQ(rig.screen().clears, clears + 3);
  EXPECT_FALSE(s.panel.Command16.enabled);
  EXPECT_EQ(s.panel.focus, "FFTbutton");
}

TEST(Sdisplay, CursorNameColourAndReadoutBackground) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.CursorSel = 1;
  SDISPLAY(s);
  EXPECT_EQ(s.CursorColour, 0xE00000u);
  EXPECT_TRUE(s.panel.Command23.fontBold);
  EXPECT_EQ(s.panel.CURSINFO.backColour, 0xC0FFFFu);
  const DrawOp* name = textOp(s.panel.Picture6, " A   ");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->fontSize, 10);

  s.SelAminusB = 1;  // the A cursor follows the math trace
  SDISPLAY(s);
  EXPECT_EQ(s.CursorSel, 6);
  EXPECT_EQ(s.CursorColour, s.TraceColour[3]);
  name = textOp(s.panel.Picture6, "A-B ");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->fontSize, 8);
  EXPECT_FLOAT_EQ(name->points[0].x, 780);
  EXPECT_EQ(textOp(s.panel.Picture6, " A   "), nullptr);

  s.SelAminusB = -1;
  SDISPLAY(s);
  EXPECT_EQ(s.CursorSel, 0);
  EXPECT_EQ(s.panel.CURSINFO.backColour, 0xC0C0C0u);
  EXPECT_NE(textOp(s.panel.Picture6, "      "), nullptr);
}

}  // namespace
}  // namespace qvx
