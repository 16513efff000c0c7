#include "acquisition/trigger.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "acquisition/wiring.h"
#include "control/startup.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;

// A scope in a triggered mode, on the 1 V ranges.
struct Trigger : ::testing::Test {
  Trigger() {
    s.TrigMode = 1;
    s.RangeStepA = s.RangeStepB = 0;
  }
  Rig rig;
  Scope& s = rig.scope;
};

// A LARGE step is 1/16 of the screen and a SMALL one 1/256 (pinned from the start values
// below), divided by the source's magnification; the marker stays inside 10..4086, and the
// buttons apply only to analogue sources with a triggered mode (or in COUNTER mode).
TEST_F(Trigger, LevelStepsDividedByMagnificationWithinLimitsAndWhenTheyApply) {
  for (auto [press, source, magIndexA, magIndexB, trigMode, operatingMode, from, to] :
       {std::tuple{&TRLARGEP_KeyPress, 0, 3, 0, 1, 0, 2048.0, 2048 - 256.0 / 7},
        {TRSMALLN_KeyPress, 0, 3, 0, 1, 0, 2048, 2048 + 16.0 / 7},
        {TRLARGEN_KeyPress, 1, 3, 1, 1, 0, 2048, 2048 + 256.0 / 3},
        {TRLARGEN_KeyPress, 0, 0, 0, 1, 0, 4000, 4086},
        {TRLARGEP_KeyPress, 0, 0, 0, 1, 0, 20, 10},
        {TRLARGEN_KeyPress, 2, 0, 0, 1, 0, 2048, 2048},
        {TRSMALLP_KeyPress, 0, 0, 0, 0, 0, 2048, 2048},
        {TRSMALLP_KeyPress, 0, 0, 0, 0, 3, 2048, 2048 - 16}}) {
    s.TrigSource = source;
    s.MagIndexA = magIndexA;
    s.MagIndexB = magIndexB;
    s.TrigMode = trigMode;
    s.OperatingMode = operatingMode;
    s.TrigCursorY = from;
    s.TrigMarkOn = source == 2;  // a digital source switches the marker off
    press(s);
    EXPECT_DOUBLE_EQ(s.TrigCursorY, to) << source << " " << from;
    EXPECT_EQ(s.TrigMarkOn, to != from);
  }
}

TEST_F(Trigger, HoldingALevelButtonStepsOncePausesThenRepeatsUntilRelease) {
  wireAcquisition(s);
  rig.host.afterPumps(6, [&] { s.panel.TRSMALLN.mouseUp(); });
  s.panel.TRSMALLN.mouseDown();
  EXPECT_EQ(s.CursorButtonHeld, 0);
  // One step at the press, then one after each of pumps 3, 4 and 5.
  EXPECT_DOUBLE_EQ(s.TrigCursorY, 2048 + 4 * 16);
  EXPECT_EQ(rig.host.sleeps, (std::vector<int>{100, 100, 100, 50, 50, 50}));
}

TEST_F(Trigger, LevelReadoutInVoltsOfTheSourceRangeAndProbe) {
  for (auto [source, rangeStep, y, text, colour] :
       {std::tuple{0, 1, 10.0, "   9.99", 0u},  // top of the 10 V range
        {0, 1, 2048, "      0", 0},             // mid-screen
        {1, 2, 2048 + 1020, "    -50", 255},    // half the 1 V range down, x100 probe: red
        {3, 0, 2048, " Logic", 0}}) {
    s.TrigSource = source;
    (source ? s.RangeStepB : s.RangeStepA) = rangeStep;
    s.TrigCursorY = y;
    trcursdraw(s);
    EXPECT_EQ(s.panel.levelval.texts(), text);
    EXPECT_EQ(s.panel.levelval.ops.back().colour, colour) << text;
    EXPECT_EQ(s.TrigLevelCode, static_cast<int>(4096 - y));
  }
}

// Moving the marker draws the old line again (removing it) and then the new one; switched
// off, only the removal, and nothing more after that.
TEST_F(Trigger, MarkerDrawnInvertingAtTheChannelsZeroLineTimesMagnification) {
  s.TrigMarkOn = 1;
  s.BaseA = 2048 + 512;
  s.MagA = 2;
  s.TrigCursorY = 1948;
  trcursdraw(s);  // at 2560 - 2 x 100
  s.TrigCursorY = 2048;
  trcursdraw(s);
  s.TrigMarkOn = 0;
  trcursdraw(s);
  trcursdraw(s);
  std::vector<float> ys;
  for (const DrawOp& op : s.panel.ScopeScreen.ops) {
    EXPECT_EQ(op.mode, DrawMode::NotXorPen);
    ys.push_back(op.points[0].y);
  }
  EXPECT_EQ(ys, (std::vector<float>{2360, 2360, 2560, 2560}));
  EXPECT_EQ(s.panel.ScopeScreen.drawMode, DrawMode::CopyPen);
}

TEST_F(Trigger, ModeCyclesAndInstDisablesTheLevel) {
  s.TrigMarkOn = 1;
  TMODEBUTTON_MouseDown(s);
  EXPECT_TRUE(s.panel.TRLARGEN.enabled);
  TMODEBUTTON_MouseDown(s);
  EXPECT_EQ(s.TrigMode + s.TrigMarkOn, 0);
  EXPECT_NE(s.panel.Picture5.texts().find("  INST  "), std::string::npos);
  EXPECT_FALSE(s.panel.TRLARGEN.enabled || s.panel.TRSMALLP.enabled);
  EXPECT_EQ(s.panel.levelval.texts(), "");
  EXPECT_EQ(s.panel.levelval.backColour, 0xC0C0C0u);
}

// The source text is drawn in that channel's own trace colour (C and D are the trace
// colours 4 and 5, not the generator's or the math trace's); the slope and pretrigger
// texts follow in the same pen. The heading names the panel at its top in every mode.
TEST_F(Trigger, SourceInItsTraceColourAndTheHeadingInEveryMode) {
  for (int i = 0; i < 6; ++i) s.TraceColour[i] = 0x100 + i;
  const Colour expected[] = {0x100, 0xC000, 0x104, 0x105};
  for (int source = 0; source < 4; ++source) {
    s.TrigSource = source;
    TRIGGER(s);
    for (const DrawOp& op : s.panel.Picture5.ops)
      if (op.text.rfind("CH ", 0) == 0 || op.text == "OFF ")
        EXPECT_EQ(op.colour, expected[source]) << source << " " << op.text;
  }
  for (int mode = 0; mode < 5; ++mode) {
    s.OperatingMode = mode;
    TRIGGER(s);
    const DrawOp& heading = s.panel.Picture5.ops.front();
    EXPECT_EQ(heading.text, "TRIGGER") << mode;
    EXPECT_EQ(heading.points[0].x, 200);
    EXPECT_EQ(heading.points[0].y, 1);
    EXPECT_EQ(heading.colour, 0u);
    EXPECT_EQ(s.panel.DelayWin.visible, mode != 1 && mode != 2) << mode;
  }
}

// From the start values: a fine step is 16 units and a coarse one 256; the marker drawn by
// a level change stays 3 s of real time, not 3 ms or 3 ticks.
TEST(LevelButtons, StartValuesStepAndTheMarkerLastsThreeSeconds) {
  testing::TempFolder folder;
  Rig r;
  Scope& s = r.scope;
  std::ofstream("QVXport.cfg") << "1\n";
  Form_Load(s);
  Form_Activate(s);
  s.panel.TMODEBUTTON.press();
  const double level = s.TrigCursorY;
  s.panel.TRSMALLP.keyPress(' ');
  EXPECT_DOUBLE_EQ(s.TrigCursorY, level - 16);
  s.panel.TRLARGEN.keyPress(' ');
  EXPECT_DOUBLE_EQ(s.TrigCursorY, level - 16 + 256);
  ASSERT_EQ(s.TrigMarkOn, 1);
  r.host.DoEvents();
  r.host.Sleep(2900);
  r.host.DoEvents();
  EXPECT_EQ(s.TrigMarkOn, 1) << "still shown at 2.9 s";
  r.host.Sleep(200);
  r.host.DoEvents();
  EXPECT_EQ(s.TrigMarkOn + s.TrigMarkDrawn, 0) << "gone at 3.1 s";
}

}  // namespace
}  // namespace qvx
