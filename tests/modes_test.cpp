#include "control/modes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "acquisition/channels.h"
#include "acquisition/timebase.h"
#include "acquisition/trigger.h"
#include "counter/counter.h"
#include "display/render.h"
#include "display/settings.h"
#include "generator/generator.h"
#include "started.h"

namespace qvx {
namespace {

constexpr int kScope = 0, kGenerator = 1, kScopeGen = 2, kCounter = 3, kFft = 4;

// A started window (both options count as fitted after start-up), in SCOPE mode.
struct ModesTest : ::testing::Test, testing::Started {
  // Presses > and < as `keys` says and returns the modes passed through.
  std::vector<int> step(const std::string& keys) {
    std::vector<int> modes;
    for (char k : keys) {
      (k == '>' ? p.SmodeUP : p.SmodeDown).press();
      modes.push_back(s.OperatingMode);
    }
    return modes;
  }
};

TEST_F(ModesTest, StepsThroughAllFiveModesAndWrapsSkippingTheGeneratorsWithoutOne) {
  EXPECT_EQ(step(">>>>>"), (std::vector<int>{kGenerator, kScopeGen, kCounter, kFft, kScope}));
  EXPECT_EQ(step("<<<<<"), (std::vector<int>{kFft, kCounter, kScopeGen, kGenerator, kScope}));
  EXPECT_EQ(s.PrevMode, kScope);
  s.GenFitted = 0;
  EXPECT_EQ(step("><<>>>"), (std::vector<int>{kCounter, kScope, kFft, kScope, kCounter, kFft}));
}

TEST_F(ModesTest, FftKeepsTheTimeDataThroughAModeBoxClickAndLeavingGivesItBack) {
  for (int i = 0; i <= 65535; ++i) {
    s.BufA[i] = static_cast<std::int16_t>(i % 4096);
    s.BufB[i] = static_cast<std::int16_t>(4095 - i % 3000);
  }
  const SampleBuffer timeA = s.BufA, timeB = s.BufB;
  s.SelAplusB = 1;
  ASSERT_EQ(step("<").back(), kFft);
  EXPECT_EQ(s.TimeBufB, timeB);
  EXPECT_EQ((std::vector<int>{s.ScrollUnit, s.SelAplusB}), (std::vector<int>{512, -1}));
  EXPECT_FALSE(p.Command20.enabled || p.ZoomButton.enabled);
  // The spectra overwrite the working buffers while in FFT.
  std::fill(s.BufA.begin(), s.BufA.end(), 7);
  std::fill(s.BufB.begin(), s.BufB.end(), 9);
  p.SCOPEMODE.click();
  EXPECT_EQ(s.OperatingMode, kFft);
  EXPECT_EQ(s.TimeBufA, timeA) << "the spectrum must not replace the saved time data";
  s.FftDoneA = s.FftDoneB = 1;
  ASSERT_EQ(step(">").back(), kScope);
  EXPECT_EQ(s.BufA, timeA);
  EXPECT_EQ(s.BufB, timeB);
  EXPECT_EQ((std::vector<int>{s.FftDoneA, s.FftDoneB, s.ScrollUnit}),
            (std::vector<int>{0, 0, 1024}));
  EXPECT_TRUE(p.Command20.enabled);
}

// The mode display, mode by mode, with both channels on and no math trace selected.
TEST_F(ModesTest, ModeDisplayEnablesTheGroupsOfEachMode) {
  const std::vector<Widget*> buttons = {
      &p.Command3,     &p.Command6,  &p.GENMODEBUTTON, &p.DCUP,     &p.Command19, &p.TMODEBUTTON,
      &p.TRESETBUTTON, &p.SRATEN,    &p.SSIZEP,        &p.Command8, &p.Command9,  &p.Command17,
      &p.Command18,    &p.Command20, &p.Command21,     &p.Command12};
  const struct {
    const char* enabled;  // one digit per button above
    const char* caption;
  } rows[] = {{"1100011111111111", "        SCOPE"},
              {"0011100000000001", "   GENERATOR"},
              {"1111101001111111", "   SCOPE+GEN"},
              {"1100111001111111", "      COUNTER"},
              {"1100011000011000", "            FFT"}};
  for (int mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(mode);
    s.OperatingMode = mode;
    s.ScrollUnit = mode == kFft ? 512 : 1024;
    s.SelE = s.TrigMarkOn = 1;
    SMODEDISP(s);
    std::string enabled;
    for (const Widget* w : buttons) enabled += w->enabled ? '1' : '0';
    EXPECT_EQ(enabled, rows[mode].enabled);
    ASSERT_EQ(p.SCOPEMODE.ops.size(), 1u);
    EXPECT_EQ(p.SCOPEMODE.ops[0].text, rows[mode].caption);
    const bool scopeOrFft = mode == kScope || mode == kFft;
    EXPECT_EQ((std::vector<int>{s.SelE, s.TrigMarkOn}),
              (std::vector<int>{scopeOrFft ? -1 : 1, scopeOrFft}));
    if (scopeOrFft) EXPECT_EQ(p.HScroll2.Max, 2 * s.ScrollUnit - 1);
    const bool generator = mode == kGenerator || mode == kScopeGen;
    EXPECT_EQ(p.GENUPDATEBACK.backColour, generator ? RGB(0xFF, 0, 0) : RGB(0x80, 0xFF, 0x80));
  }
  // A custom wave keeps its own update backing.
  s.OperatingMode = kScopeGen;
  s.GenMode = 2;
  p.GENUPDATEBACK.setBackColour(RGB(0, 0, 0xFF));
  SMODEDISP(s);
  EXPECT_EQ(p.GENUPDATEBACK.backColour, RGB(0, 0, 0xFF));
}

// Range groups are off for a channel that is off or not fitted, whatever the mode.
TEST_F(ModesTest, RangeGroupsFollowTheChannelSwitchAndTheFittedB) {
  s.ChanAOn = s.ChanBFitted = 0;
  for (s.OperatingMode = 0; s.OperatingMode <= 4; ++s.OperatingMode) {
    SmodeCheck(s);
    EXPECT_FALSE(p.Command3.enabled || p.Command6.enabled || p.Command18.enabled)
        << s.OperatingMode;
  }
}

// A and B are locked while a math trace is shown; sum and difference exclude each other.
TEST_F(ModesTest, SumAndDifferenceExcludeEachOther) {
  auto math = [&] { return std::make_pair(s.SelAplusB, s.SelAminusB); };
  p.Command20.press();
  EXPECT_EQ(math(), std::make_pair(1, -1));
  EXPECT_FALSE(p.Command17.enabled || p.Command18.enabled);
  p.Command21.press();
  EXPECT_EQ(math(), std::make_pair(-1, 1));
  p.Command20.press();
  EXPECT_EQ(math(), std::make_pair(1, -1));
  p.Command20.press();
  EXPECT_EQ(math(), std::make_pair(-1, -1));
  EXPECT_TRUE(p.Command17.enabled && p.Command18.enabled);
}

// Every panel redraw starts its texts afresh after its clear: redrawn again in the same
// state, each picture holds the same texts at the same places, in every mode, so no text
// creeps down its box or piles up from one redraw to the next.
TEST_F(ModesTest, EveryRedrawPrintsTheSameTextsAtTheSamePlaces) {
  using Texts = std::vector<std::tuple<std::string, float, float>>;
  auto texts = [&] {
    std::map<std::string, Texts> all;
    for (const Widget* w : p.controls)
      if (const PictureArea* pic = p.findPicture(w->name))
        for (const DrawOp& op : pic->ops)
          if (op.kind == DrawOp::Kind::Text)
            all[w->name].emplace_back(op.text, op.points[0].x, op.points[0].y);
    return all;
  };
  for (int mode = 0; mode < 5; ++mode) {
    SCOPED_TRACE(mode);
    for (void (*redraw)(Scope&) : {SMODEDISP, DSAMPLE, TRIGGER, SDISPLAY, CHANA, CHANB, CHANE,
                                   CHANF, GENDISP, CountDisplay, HScroll1_Change}) {
      redraw(s);
      const auto once = texts();
      redraw(s);
      EXPECT_EQ(texts(), once);
    }
    p.SmodeUP.press();
  }
}

}  // namespace
}  // namespace qvx
