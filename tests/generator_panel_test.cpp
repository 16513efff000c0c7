#include <gtest/gtest.h>

#include "generator/generator.h"
#include "generator_rig.h"

namespace qvx {
namespace {

using testing::GeneratorRig;

struct GeneratorPanel : ::testing::Test {
  GeneratorRig g{{}, 1};  // GENERATOR mode
  Scope& s = g.s;
  Panel& p = g.p;
  testing::ScriptedHost& host = g.rig.host;

  // A press and release: the release arrives at the first event pump of the hold.
  void tap(Button& b) {
    host.afterPumps(1, [&b] { b.mouseUp(); });
    b.mouseDown();
  }
  // Holds `b` down for `seconds` of virtual time.
  void hold(Button& b, double seconds) {
    host.atTime(host.clock + seconds, [&b] { b.mouseUp(); });
    b.mouseDown();
  }
};

TEST(GeneratorPanelOutside, ScopeModeBlanksTheValuesAndLocksTheSettingButtons) {
  GeneratorRig g;
  const Panel& p = g.p;
  EXPECT_EQ(p.GENPICTURE.texts(), "GENERATOR SETUP");
  EXPECT_EQ(p.GENFREQDISP.texts(), "");
  EXPECT_EQ(p.GENFREQDISP.backColour, 0xC0C0C0u);
  for (const Button* b :
       {&p.GENSFREQBUTTONN, &p.GENSFREQBUTTONP, &p.SWRATIOBUTTON, &p.GENAMPBUTTON})
    EXPECT_FALSE(b->enabled) << b->name;
  EXPECT_EQ(p.focus, "FFTbutton");
}

TEST_F(GeneratorPanel, NormalSineShowsItsSettingsAndAFreshTable) {
  EXPECT_EQ(p.GENPICTURE.texts(), "GENERATOR SETUP|NORMAL |2V p-p|Frequency (Hz)");
  EXPECT_EQ(p.GENFREQDISP.texts(), " 50000");
  EXPECT_EQ(p.GENFREQDISP.backColour, 0xC0FFFFu);
  EXPECT_EQ(p.GENSTYLEBUTTON.caption, "Style");
  EXPECT_EQ(p.GENAMPBUTTON.caption, "Amp");
  EXPECT_EQ(p.SWRATIOBUTTON.caption, "Ratio");
  EXPECT_FALSE(p.SWRATIOBUTTON.enabled);
  EXPECT_TRUE(p.GENSFREQBUTTONP.enabled);
  EXPECT_FALSE(p.DCUP.visible);
  EXPECT_FALSE(p.STYLEDISP.ops.empty());
  // Entering GENERATOR built the table: the update button's backing is green.
  EXPECT_EQ(s.GenDirty, 0);
  EXPECT_EQ(p.GENUPDATEBACK.backColour, RGB(0x80, 0xFF, 0x80));
  EXPECT_EQ(p.SSIZEDISP.texts(), " 8000");
}

TEST_F(GeneratorPanel, ChangingASettingTurnsTheUpdateButtonRedUntilUpdate) {
  p.GENAMPBUTTON.click();
  EXPECT_EQ(s.GenAmpIndex, 2);
  EXPECT_EQ(s.GenDirty, 1);
  EXPECT_EQ(p.GENUPDATEBACK.backColour, 255u);
  EXPECT_NE(p.GENPICTURE.texts().find("1V p-p"), std::string::npos);
  p.GENUPDATEBUTTON.click();
  EXPECT_EQ(s.GenDirty, 0);
  EXPECT_EQ(s.GenTable[0], 1024);
  EXPECT_EQ(p.GENUPDATEBACK.backColour, RGB(0x80, 0xFF, 0x80));
}

TEST_F(GeneratorPanel, LargeStepOnceThenHeldClimbsFasterAboveTwoHundredKilohertz) {
  tap(p.GENLFREQBUTTONP);
  EXPECT_EQ(s.GenFreq, 50500);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 50500");
  EXPECT_EQ(s.GenDirty, 1);

  s.GenFreq = 50000;
  std::vector<double> seen;
  host.onPump = [&] {
    if (seen.empty() || seen.back() != s.GenFreq) seen.push_back(s.GenFreq);
  };
  hold(p.GENLFREQBUTTONP, 10);
  EXPECT_EQ(s.GenFreq, 500000);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0], 50500);
  EXPECT_EQ(seen[1], 53000);
  EXPECT_NE(std::find(seen.begin(), seen.end(), 200500.0), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), 205500.0), seen.end());
  EXPECT_EQ(s.CursorButtonHeld, 0);
}

TEST_F(GeneratorPanel, SmallStepsStopAtTheLowestFrequencyAndRepeatByTen) {
  s.GenFreq = 5;
  tap(p.GENSFREQBUTTONN);
  EXPECT_EQ(s.GenFreq, 5);
  s.GenFreq = 100;
  // The first step, then a repeat every 50 ms from 350 ms on: three before 440 ms.
  hold(p.GENSFREQBUTTONP, 0.44);
  EXPECT_EQ(s.GenFreq, 131);
}

TEST_F(GeneratorPanel, SquareShowsItsDutyCycleWithinTwoToNinetyEight) {
  p.GENSTYLEBUTTON.mouseDown();  // triangle
  p.GENSTYLEBUTTON.mouseDown();  // ramp
  p.GENSTYLEBUTTON.mouseDown();  // square
  EXPECT_EQ(s.GenStyle, genstyle::Square);
  EXPECT_EQ(s.SavedGenStyle, genstyle::Square);
  EXPECT_TRUE(p.DCUP.visible && p.DCDOWN.visible);
  EXPECT_EQ(p.SWRATIOBUTTON.caption, "Dcycle");
  EXPECT_TRUE(p.SWRATIOBUTTON.enabled);
  EXPECT_NE(p.GENPICTURE.texts().find(" 50 %  "), std::string::npos);
  s.GenDuty = 98;
  p.DCUP.click();
  EXPECT_EQ(s.GenDuty, 98);
  s.GenDuty = 2;
  p.DCDOWN.click();
  EXPECT_EQ(s.GenDuty, 2);
  p.DCUP.click();
  EXPECT_EQ(s.GenDuty, 4);
  EXPECT_EQ(s.GenDirty, 1);
}

TEST_F(GeneratorPanel, SweepStartAndRatioFollowTheStartTable) {
  p.GENMODEBUTTON.mouseDown();
  EXPECT_EQ(s.GenMode, genmode::Sweep);
  EXPECT_NE(p.GENPICTURE.texts().find("Start Freq (Hz) "), std::string::npos);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 1000");
  EXPECT_FALSE(p.GENSFREQBUTTONP.enabled);
  EXPECT_TRUE(p.SWRATIOBUTTON.enabled);

  for (int i = 0; i < 6; ++i) tap(p.GENLFREQBUTTONN);  // down to step 0, and no further
  EXPECT_EQ(s.GenSweepStart, 0);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 5");
  for (int i = 0; i < 3; ++i) p.SWRATIOBUTTON.click();
  EXPECT_NE(p.GENPICTURE.texts().find(" 20      "), std::string::npos);
  tap(p.GENLFREQBUTTONP);  // 10 Hz starts with 200-point cycles: X20 falls back to X10
  EXPECT_EQ(p.GENFREQDISP.texts(), " 10");
  EXPECT_EQ(s.GenSweepRatio, 2);
  EXPECT_NE(p.GENPICTURE.texts().find(" 10      "), std::string::npos);
  p.SWRATIOBUTTON.click();  // and wraps after X10
  EXPECT_EQ(s.GenSweepRatio, 0);
}

TEST_F(GeneratorPanel, CustomModeStartsFromTheLastWaveAndMagnifiesIt) {
  p.GENMODEBUTTON.mouseDown();  // SWEEP builds its table
  const SampleBuffer built = s.GenTable;
  const auto points = static_cast<int>(s.GenLastIndex) + 1;
  p.GENMODEBUTTON.mouseDown();
  EXPECT_EQ(s.GenMode, genmode::Custom);
  EXPECT_EQ(s.GenStyle, genstyle::Custom);
  EXPECT_TRUE(std::equal(built.begin(), built.begin() + points, s.CustomView.begin()));
  EXPECT_EQ(p.GENSTYLEBUTTON.caption, "CropL");
  EXPECT_EQ(p.GENAMPBUTTON.caption, "CropR");
  EXPECT_EQ(p.SWRATIOBUTTON.caption, "Amp");
  EXPECT_FALSE(p.STYLEDISP.visible);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 20 KHz");
  EXPECT_NE(p.GENPICTURE.texts().find("Custom"), std::string::npos);
  EXPECT_NE(p.GENPICTURE.texts().find("x 1   "), std::string::npos);
  EXPECT_EQ(s.GenDirty, 1);

  s.GenLastIndex = 9;
  for (int i = 0; i < 10; ++i) s.CustomView[i] = static_cast<std::int16_t>(1000 + 2000 * (i % 2));
  p.SWRATIOBUTTON.click();  // x2 about the middle, 2000
  EXPECT_EQ(s.GenTable[0], 0);
  EXPECT_EQ(s.GenTable[1], 4000);
  p.SWRATIOBUTTON.click();  // x5: clipped both ways
  EXPECT_EQ(s.GenTable[0], 0);
  EXPECT_EQ(s.GenTable[1], 4095);
  p.SWRATIOBUTTON.click();  // MAX: stretched to fill 0..4095
  EXPECT_EQ(s.GenTable[0], 0);
  EXPECT_EQ(s.GenTable[1], 4095);
  EXPECT_NE(p.GENPICTURE.texts().find("MAX   "), std::string::npos);

  tap(p.GENLFREQBUTTONP);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 200KHz");

  // Back to NORMAL: the style of before custom comes back and the table is rebuilt.
  p.GENMODEBUTTON.mouseDown();
  EXPECT_EQ(s.GenStyle, genstyle::Sine);
  EXPECT_EQ(s.GenLastIndex, 7999);
}

TEST_F(GeneratorPanel, CropsAskFirstAndCancelLeavesTheWave) {
  p.GENMODEBUTTON.mouseDown();
  p.GENMODEBUTTON.mouseDown();
  const float last = s.GenLastIndex;
  s.CursorX = 100;
  host.answers = {mb::AnswerCancel};
  p.GENAMPBUTTON.click();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Crop Custom data right of cursor? (irreversible)");
  EXPECT_EQ(host.messages[0].title, "Crop Confirmation");
  EXPECT_EQ(host.messages[0].style, mb::OKCancel);
  EXPECT_EQ(s.GenLastIndex, last);
  EXPECT_EQ(s.CursorSel, 7);  // the cursor was put up to show where the crop would act

  const int atCursor = s.CustomView[static_cast<int>(s.ViewFirst + s.CursorX)];
  p.GENSTYLEBUTTON.mouseDown();  // OK
  EXPECT_EQ(host.messages.back().text, "Crop Custom data left of cursor? (irreversible)");
  EXPECT_EQ(s.GenLastIndex, last - (s.ViewFirst + 100));
  EXPECT_EQ(s.CustomView[0], atCursor);

  p.GENAMPBUTTON.click();  // OK: keep up to the cursor
  EXPECT_EQ(s.GenLastIndex, s.ViewFirst + 100);
  EXPECT_EQ(s.CursorSel, 0);
}

}  // namespace
}  // namespace qvx
