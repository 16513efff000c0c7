#include "acquisition/trigger.h"

#include <gtest/gtest.h>

#include "control/wiring.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;

struct TriggerRig : Rig {
  TriggerRig() {
    scope.TrigMode = 1;
    scope.RangeStepA = 0;
    scope.RangeStepB = 0;
  }
};

TEST(LevelButtons, StepSizesFollowTheSourceMagnification) {
  TriggerRig r;
  Scope& s = r.scope;
  TRLARGEN_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 + 256);
  TRSMALLP_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 + 256 - 16);
  EXPECT_EQ(s.TrigMarkOn, 1);

  s.TrigCursorY = 2048;
  s.MagIndexA = 3;
  TRLARGEP_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 - 256.0 / 7);
  TRSMALLN_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 - 256.0 / 7 + 16.0 / 7);

  // Source B uses B's magnification, not A's.
  s.TrigSource = 1;
  s.MagIndexB = 1;
  s.TrigCursorY = 2048;
  TRLARGEN_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 + 256.0 / 3);
  EXPECT_EQ(s.TrigLevelCode, 4096 - 2133);  // 2133.33 to the nearest
}

TEST(LevelButtons, StayInsideTheScreen) {
  TriggerRig r;
  Scope& s = r.scope;
  s.TrigCursorY = 4000;
  TRLARGEN_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 4086);
  s.TrigCursorY = 20;
  TRLARGEP_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 10);
}

TEST(LevelButtons, DoNothingForDigitalSourcesOrInInstMode) {
  TriggerRig r;
  Scope& s = r.scope;
  s.TrigSource = 2;
  s.TrigMarkOn = 1;
  TRLARGEN_MouseDown(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048);
  EXPECT_EQ(s.TrigMarkOn, 0);
  EXPECT_EQ(s.CursorButtonHeld, 0);
  s.TrigSource = 0;
  s.TrigMode = 0;
  TRSMALLP_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048);
  // In COUNTER mode the level applies even with INST selected.
  s.OperatingMode = 3;
  TRSMALLP_KeyPress(s);
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 - 16);
}

TEST(LevelButtons, HoldingStepsOncePausesThenRepeatsUntilRelease) {
  TriggerRig r;
  Scope& s = r.scope;
  wireAcquisition(s);
  r.host.afterPumps(6, [&] { s.panel.TRSMALLN.mouseUp(); });
  s.panel.TRSMALLN.mouseDown();
  EXPECT_EQ(s.CursorButtonHeld, 0);
  // One step at the press, then one after each of pumps 3, 4 and 5.
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 + 4 * 16);
  EXPECT_EQ(r.host.sleeps, (std::vector<int>{100, 100, 100, 50, 50, 50}));
}

TEST(LevelButtons, ReleaseDuringThePauseStepsOnlyOnce) {
  TriggerRig r;
  Scope& s = r.scope;
  wireAcquisition(s);
  r.host.afterPumps(1, [&] { s.panel.TRLARGEP.mouseUp(); });
  s.panel.TRLARGEP.mouseDown();
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 - 256);
  EXPECT_EQ(r.host.sleeps, (std::vector<int>{100, 100, 100}));
}

TEST(LevelReadout, TopOfTheTenVoltRangeAndMidScreen) {
  TriggerRig r;
  Scope& s = r.scope;
  s.RangeStepA = 1;
  s.TrigCursorY = 10;
  trcursdraw(s);
  EXPECT_EQ(s.panel.levelval.texts(), "   9.99");
  EXPECT_EQ(s.panel.levelval.ops.back().colour, 0u);
  EXPECT_EQ(s.TrigLevelCode, 4086);
  s.TrigCursorY = 2048;
  trcursdraw(s);
  EXPECT_EQ(s.panel.levelval.texts(), "      0");
  EXPECT_EQ(s.TrigLevelCode, 2048);
}

TEST(LevelReadout, NegativeLevelsAreRedAndScaledByTheProbe) {
  TriggerRig r;
  Scope& s = r.scope;
  s.TrigSource = 1;
  s.RangeStepB = 2;
  s.TrigCursorY = 2048 + 1020;  // half the 1 V range down
  trcursdraw(s);
  EXPECT_EQ(s.panel.levelval.texts(), "    -50");
  EXPECT_EQ(s.panel.levelval.ops.back().colour, 255u);
  EXPECT_FLOAT_EQ(s.TrigLevelNorm, -50);
}

TEST(LevelReadout, LogicForDigitalSourcesAndGreyInInst) {
  TriggerRig r;
  Scope& s = r.scope;
  s.TrigSource = 3;
  trcursdraw(s);
  EXPECT_EQ(s.panel.levelval.texts(), " Logic");
  s.TrigMode = 0;
  trcursdraw(s);
  EXPECT_EQ(s.panel.levelval.texts(), "");
  EXPECT_EQ(s.panel.levelval.backColour, 0xC0C0C0u);
}

TEST(LevelText, KeepsTheLastSevenCharacters) {
  EXPECT_EQ(levelText(1.234f), "  1.234");
  EXPECT_EQ(levelText(-0.5f), "   -0.5");
  EXPECT_EQ(levelText(-12.345f), "-12.345");
}

TEST(Marker, DrawnInvertingAtTheChannelsZeroLineTimesMagnification) {
  TriggerRig r;
  Scope& s = r.scope;
  PictureArea& screen = s.panel.ScopeScreen;
  screen.setScaleWidth(2000);
  s.TrigMarkOn = 1;
  s.BaseA = 2048 + 512;
  s.MagA = 2;
  s.TrigMarkColourNext = 0x800000;
  s.TrigCursorY = 1948;
  trcursdraw(s);
  ASSERT_EQ(screen.ops.size(), 1u);
  const DrawOp& line = screen.ops[0];
  EXPECT_EQ(line.mode, DrawMode::NotXorPen);
  EXPECT_EQ(line.width, 2);
  EXPECT_EQ(line.colour, 0x800000u);
  EXPECT_FLOAT_EQ(line.points[0].x, 0);
  EXPECT_FLOAT_EQ(line.points[1].x, 2000);
  EXPECT_FLOAT_EQ(line.points[0].y, 2560 - 200);
  EXPECT_EQ(screen.drawMode, DrawMode::CopyPen);
  EXPECT_EQ(screen.DrawWidth, 1);
  EXPECT_EQ(s.TrigMarkDrawn, 1);

  // Moving it draws the old line again (removing it) and then the new one.
  s.TrigCursorY = 2048;
  trcursdraw(s);
  ASSERT_EQ(screen.ops.size(), 3u);
  EXPECT_FLOAT_EQ(screen.ops[1].points[0].y, 2360);
  EXPECT_FLOAT_EQ(screen.ops[2].points[0].y, 2560);

  // Switched off: only the removal.
  s.TrigMarkOn = 0;
  trcursdraw(s);
  ASSERT_EQ(screen.ops.size(), 4u);
  EXPECT_FLOAT_EQ(screen.ops[3].points[0].y, 2560);
  EXPECT_EQ(s.TrigMarkDrawn, 0);
  trcursdraw(s);
  EXPECT_EQ(screen.ops.size(), 4u);
}

TEST(Marker, TimerRestartsOnlyWhileArmed) {
  TriggerRig r;
  Scope& s = r.scope;
  s.TrigMarkOn = 1;
  s.MarkerTimerArm = 0;
  trcursdraw(s);
  EXPECT_FALSE(s.panel.Timer1.enabled());
  s.MarkerTimerArm = 1;
  trcursdraw(s);
  EXPECT_TRUE(s.panel.Timer1.enabled());
  EXPECT_EQ(s.panel.Timer1.interval(), 3000);
}

TEST(TriggerPanel, ModeCyclesAndInstDisablesTheLevel) {
  TriggerRig r;
  Scope& s = r.scope;
  s.TrigMarkOn = 1;
  TMODEBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigMode, 2);
  EXPECT_NE(s.panel.Picture5.texts().find(" Trig(f)"), std::string::npos);
  EXPECT_EQ(s.panel.levelval.backColour, 0xC0CFFFu);
  EXPECT_TRUE(s.panel.TRLARGEN.enabled);
  TMODEBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigMode, 0);
  EXPECT_EQ(s.TrigMarkOn, 0);
  EXPECT_NE(s.panel.Picture5.texts().find("  INST  "), std::string::npos);
  for (Button* b : {&s.panel.TriglevelBUTTON, &s.panel.TRLARGEN, &s.panel.TRSMALLN,
                    &s.panel.TRLARGEP, &s.panel.TRSMALLP})
    EXPECT_FALSE(b->enabled) << b->name;
  EXPECT_TRUE(s.panel.TRESETBUTTON.enabled);
  EXPECT_EQ(s.panel.levelval.texts(), "");
}

TEST(TriggerPanel, SourceSlopeAndPretriggerTexts) {
  TriggerRig r;
  Scope& s = r.scope;
  TSOURCEBUTTON_MouseDown(s);
  TSLOPEBUTTON_MouseDown(s);
  PRETRIGBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigSource, 1);
  EXPECT_EQ(s.TrigSlope, -1);
  EXPECT_EQ(s.PretrigIndex, 1);
  EXPECT_EQ(s.panel.Picture5.texts(), "  TRIG  |CH B | \u2013 | 10  |Trigger Level");
  s.TrigMarkOn = 1;
  TSOURCEBUTTON_MouseDown(s);  // to C: the level no longer applies
  EXPECT_EQ(s.TrigMarkOn, 0);
  EXPECT_FALSE(s.panel.TriglevelBUTTON.fontBold);
  EXPECT_EQ(s.TrigMarkColourNext, 0u);
  PRETRIGBUTTON_MouseDown(s);
  PRETRIGBUTTON_MouseDown(s);
  EXPECT_EQ(s.PretrigIndex, 0);
}

TEST(TriggerPanel, LevelButtonTogglesTheMarker) {
  TriggerRig r;
  Scope& s = r.scope;
  TriglevelBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigMarkOn, 1);
  TRIGGER(s);
  EXPECT_TRUE(s.panel.TriglevelBUTTON.fontBold);
  EXPECT_EQ(s.TrigMarkColourNext, s.TraceColour[0]);
  TriglevelBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigMarkOn, 0);
  s.TrigSource = 2;
  TriglevelBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigMarkOn, 0);
}

TEST(TriggerPanel, GeneratorModesShowOnlyTheTitle) {
  TriggerRig r;
  Scope& s = r.scope;
  s.OperatingMode = 2;
  s.RepeatMode = 1;
  TRIGGER(s);
  EXPECT_FALSE(s.panel.DelayWin.visible);
  EXPECT_EQ(s.panel.Picture5.texts().find("TRIGGER"), 0u);
  EXPECT_EQ(s.panel.Picture5.texts().find("CH A"), std::string::npos);
  EXPECT_EQ(s.panel.TRESETBUTTON.caption, "Repeat");
}

TEST(TriggerPanel, RepeatAndDelayToggles) {
  TriggerRig r;
  Scope& s = r.scope;
  TRESETBUTTON_Click(s);
  EXPECT_EQ(s.RepeatMode, 1);
  EXPECT_EQ(s.panel.TRESETBUTTON.caption, "Repeat");
  EXPECT_EQ(s.panel.focus, "FFTbutton");
  TRESETBUTTON_Click(s);
  EXPECT_EQ(s.panel.TRESETBUTTON.caption, "Single");
  DelayWin_Click(s);
  EXPECT_EQ(s.panel.DelayWin.texts(), "   Delay");
  EXPECT_EQ(s.panel.DelayWin.backColour, 0x8080FFu);
  DelayWin_Click(s);
  EXPECT_EQ(s.TrigDelayMode, 0);
  EXPECT_EQ(s.panel.DelayWin.texts(), "  Normal");
  EXPECT_EQ(s.panel.DelayWin.backColour, 0xC0FFC0u);
}

}  // namespace
}  // namespace qvx
