#include "control/modes.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

#include "control/startup.h"
#include "device/port_file.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using testing::TempFolder;

constexpr int kScope = 0, kGenerator = 1, kScopeGen = 2, kCounter = 3, kFft = 4;

// A started window (both options count as fitted after start-up), in SCOPE mode.
struct ModesTest : ::testing::Test {
  ModesTest() {
    std::ofstream(kPortFileName, std::ios::binary) << " 1 \r\n";
    Form_Load(s);
    Form_Activate(s);
  }
  TempFolder folder;
  Rig r;
  Scope& s = r.scope;
  Panel& p = s.panel;
};

TEST_F(ModesTest, StepsThroughAllFiveModesAndWraps) {
  std::array<int, 5> up{}, down{};
  for (int& m : up) {
    p.SmodeUP.press();
    m = s.OperatingMode;
  }
  for (int& m : down) {
    p.SmodeDown.press();
    m = s.OperatingMode;
  }
  EXPECT_EQ(up, (std::array<int, 5>{kGenerator, kScopeGen, kCounter, kFft, kScope}));
  EXPECT_EQ(down, (std::array<int, 5>{kFft, kCounter, kScopeGen, kGenerator, kScope}));
  EXPECT_EQ(s.PrevMode, kScope);
}

TEST_F(ModesTest, WithoutGeneratorTheGeneratorModesAreSkipped) {
  s.GenFitted = 0;
  SmodeUP_Click(s);
  EXPECT_EQ(s.OperatingMode, kCounter) << "SCOPE > gives COUNTER";
  SmodeDown_Click(s);
  EXPECT_EQ(s.OperatingMode, kScope) << "COUNTER < gives SCOPE";
  SmodeDown_Click(s);
  EXPECT_EQ(s.OperatingMode, kFft) << "FFT is still reachable";
  SmodeUP_Click(s);
  EXPECT_EQ(s.OperatingMode, kScope);
  SmodeUP_Click(s);
  SmodeUP_Click(s);
  EXPECT_EQ(s.OperatingMode, kFft) << "COUNTER > gives FFT";
}

TEST_F(ModesTest, EnteringFftKeepsTheTimeDataAndLeavingGivesItBack) {
  for (int i = 0; i <= 65535; ++i) {
    s.BufA[i] = static_cast<std::int16_t>(i % 4096);
    s.BufB[i] = static_cast<std::int16_t>(4095 - i % 4096);
  }
  const SampleBuffer timeA = s.BufA, timeB = s.BufB;
  s.SelAplusB = 1;

  SmodeDown_Click(s);
  ASSERT_EQ(s.OperatingMode, kFft);
  EXPECT_EQ(s.TimeBufA, timeA);
  EXPECT_EQ(s.TimeBufB, timeB);
  EXPECT_EQ(s.ScrollUnit, 512);
  EXPECT_EQ(s.SelAplusB, -1);
  EXPECT_EQ(s.SelAminusB, -1);
  EXPECT_FALSE(p.Command20.enabled);
  EXPECT_FALSE(p.Command21.enabled);
  EXPECT_FALSE(p.ZoomButton.enabled);

  // The spectra overwrite the working buffers while in FFT.
  std::fill(s.BufA.begin(), s.BufA.end(), 7);
  std::fill(s.BufB.begin(), s.BufB.end(), 9);
  s.FftDoneA = s.FftDoneB = 1;

  SmodeUP_Click(s);
  ASSERT_EQ(s.OperatingMode, kScope);
  EXPECT_EQ(s.BufA, timeA);
  EXPECT_EQ(s.BufB, timeB);
  EXPECT_EQ(s.FftDoneA, 0);
  EXPECT_EQ(s.FftDoneB, 0);
  EXPECT_EQ(s.ScrollUnit, 1024);
  EXPECT_TRUE(p.Command20.enabled);
}

TEST_F(ModesTest, ClickingTheModeBoxInFftKeepsTheTimeData) {
  for (int i = 0; i <= 65535; ++i) s.BufA[i] = static_cast<std::int16_t>(i % 3000);
  const SampleBuffer timeA = s.BufA;
  SmodeDown_Click(s);
  std::fill(s.BufA.begin(), s.BufA.end(), 5);
  s.FftDoneA = s.FftDoneB = 1;

  p.SCOPEMODE.click();
  EXPECT_EQ(s.OperatingMode, kFft);
  EXPECT_EQ(s.PrevMode, kFft);
  EXPECT_EQ(s.TimeBufA, timeA) << "the spectrum must not replace the saved time data";
}

TEST_F(ModesTest, ModeCheckSetsThePerModeStateAndButtons) {
  const Colour grey = RGB(0xC0, 0xC0, 0xC0);
  s.SampleSizeIndex = 3;
  s.SelE = 1;
  s.CursorSel = 2;
  SmodeUP_Click(s);  // GENERATOR
  EXPECT_EQ(s.GenSizeIndex, 3);
  EXPECT_EQ(s.CursorSel, 0);
  EXPECT_EQ(p.CURSINFO.backColour, grey);
  for (Widget* w : {static_cast<Widget*>(&p.scrollupA), static_cast<Widget*>(&p.scrolldownF),
                    static_cast<Widget*>(&p.YMagEbutton), static_cast<Widget*>(&p.YMagFbutton),
                    static_cast<Widget*>(&p.Scrollup), static_cast<Widget*>(&p.scrolldown)})
    EXPECT_FALSE(w->visible) << w->name;

  SmodeUP_Click(s);  // SCOPE+GEN
  SmodeUP_Click(s);  // COUNTER
  EXPECT_EQ(s.SelE, -1) << "COUNTER drops the E trace";
  EXPECT_TRUE(p.scrollupA.visible);
  EXPECT_TRUE(p.YMagFbutton.visible);
}

struct Row {
  bool rangeA, gen, e, trigger, reset, sample, cd, a, b, math, ymag;
  const char* caption;
};

// The mode display, mode by mode, with both channels on and no math trace selected.
TEST_F(ModesTest, ModeDisplayEnablesTheGroupsOfEachMode) {
  const Row rows[] = {
      {true, false, false, true, true, true, true, true, true, true, true, "        SCOPE"},
      {false, true, true, false, false, false, false, false, false, false, true, "   GENERATOR"},
      {true, true, true, false, true, false, true, true, true, true, true, "   SCOPE+GEN"},
      {true, false, true, true, true, false, true, true, true, true, true, "      COUNTER"},
      {true, false, false, true, true, false, false, true, true, false, false, "            FFT"},
  };
  for (int mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(mode);
    const Row& row = rows[mode];
    s.OperatingMode = mode;
    s.ScrollUnit = mode == kFft ? 512 : 1024;
    s.SelE = 1;
    s.TrigMarkOn = 1;
    SMODEDISP(s);

    EXPECT_EQ(p.Command3.enabled, row.rangeA);
    EXPECT_EQ(p.Command6.enabled, row.rangeA);
    EXPECT_EQ(p.GENMODEBUTTON.enabled, row.gen);
    EXPECT_EQ(p.DCUP.enabled, row.gen);
    EXPECT_EQ(p.Command19.enabled, row.e);
    EXPECT_EQ(p.TMODEBUTTON.enabled, row.trigger);
    EXPECT_EQ(p.TRESETBUTTON.enabled, row.reset);
    EXPECT_EQ(p.SRATEN.enabled, row.sample);
    EXPECT_EQ(p.SSIZEP.enabled, row.sample);
    EXPECT_EQ(p.Command8.enabled, row.cd);
    EXPECT_EQ(p.Command9.enabled, row.cd);
    EXPECT_EQ(p.Command17.enabled, row.a);
    EXPECT_EQ(p.Command18.enabled, row.b);
    EXPECT_EQ(p.Command20.enabled, row.math);
    EXPECT_EQ(p.Command21.enabled, row.math);
    EXPECT_EQ(p.Command12.enabled, row.ymag);

    const bool scopeOrFft = mode == kScope || mode == kFft;
    EXPECT_EQ(s.SelE, scopeOrFft ? -1 : 1);
    EXPECT_EQ(s.TrigMarkOn, scopeOrFft ? 1 : 0);
    if (scopeOrFft) {
      EXPECT_EQ(p.HScroll1.Max, 2 * s.ScrollUnit - 1);
      EXPECT_EQ(p.HScroll2.Max, 2 * s.ScrollUnit - 1);
    }
    if (mode == kGenerator || mode == kScopeGen)
      EXPECT_EQ(p.GENUPDATEBACK.backColour, RGB(0xFF, 0, 0));
    else
      EXPECT_EQ(p.GENUPDATEBACK.backColour, RGB(0x80, 0xFF, 0x80));

    ASSERT_EQ(p.SCOPEMODE.ops.size(), 1u);
    EXPECT_EQ(p.SCOPEMODE.ops[0].text, row.caption);
    EXPECT_EQ(p.SCOPEMODE.ops[0].fontSize, 11);
  }
}

TEST_F(ModesTest, RangeGroupsFollowTheChannelSwitches) {
  s.ChanAOn = 0;
  SMODEDISP(s);
  EXPECT_FALSE(p.Command3.enabled);
  EXPECT_TRUE(p.Command6.enabled);
  s.ChanAOn = 1;
  s.ChanBOn = 0;
  SMODEDISP(s);
  EXPECT_TRUE(p.Command3.enabled);
  EXPECT_FALSE(p.Command6.enabled);
}

TEST_F(ModesTest, CustomWaveKeepsTheUpdateBackingInScopeGen) {
  s.OperatingMode = kScopeGen;
  s.GenMode = 2;
  p.GENUPDATEBACK.setBackColour(RGB(0, 0, 0xFF));
  SMODEDISP(s);
  EXPECT_EQ(p.GENUPDATEBACK.backColour, RGB(0, 0, 0xFF));
}

TEST_F(ModesTest, BStaysDisabledInEveryModeWithoutChannelB) {
  s.ChanBFitted = 0;
  for (int mode = 0; mode <= 4; ++mode) {
    s.OperatingMode = mode;
    SmodeCheck(s);
    EXPECT_FALSE(p.Command18.enabled) << "mode " << mode;
    EXPECT_FALSE(p.Command6.enabled) << "mode " << mode;
  }
}

TEST_F(ModesTest, SumAndDifferenceExcludeEachOther) {
  p.Command20.press();
  EXPECT_EQ(s.SelAplusB, 1);
  EXPECT_FALSE(p.Command17.enabled) << "A is locked while a math trace is shown";
  EXPECT_FALSE(p.Command18.enabled);

  p.Command21.press();
  EXPECT_EQ(s.SelAminusB, 1);
  EXPECT_EQ(s.SelAplusB, -1);

  p.Command20.press();
  EXPECT_EQ(s.SelAplusB, 1);
  EXPECT_EQ(s.SelAminusB, -1);

  p.Command20.press();
  EXPECT_EQ(s.SelAplusB, -1);
  EXPECT_EQ(s.SelAminusB, -1) << "turning one off leaves the other off";
  EXPECT_TRUE(p.Command17.enabled);
  EXPECT_TRUE(p.Command18.enabled);
}

TEST_F(ModesTest, SelectionButtonsFlipTheirTraces) {
  s.OperatingMode = kCounter;  // E is selectable here
  SMODEDISP(s);
  const int a = s.SelA, b = s.SelB, c = s.SelC, d = s.SelD, e = s.SelE;
  for (Button* btn : {&p.Command17, &p.Command18, &p.Command8, &p.Command9, &p.Command19})
    btn->press();
  EXPECT_EQ(s.SelA, -a);
  EXPECT_EQ(s.SelB, -b);
  EXPECT_EQ(s.SelC, -c);
  EXPECT_EQ(s.SelD, -d);
  EXPECT_EQ(s.SelE, -e);
}

}  // namespace
}  // namespace qvx
