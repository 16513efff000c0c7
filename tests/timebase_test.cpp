#include "acquisition/timebase.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "acquisition/wiring.h"
#include "rig.h"

namespace qvx {
namespace {

using Ints = std::vector<int>;
constexpr Colour kYellow = 0xC0FFFF, kGrey = 0xC0C0C0;

// The timebase with its four step buttons wired to the mouse and the keyboard.
struct Timebase : ::testing::Test {
  Timebase() { wireAcquisition(s); }
  Ints copies() const { return {s.RateIndexA, s.RateIndexB, s.SizeIndexA, s.SizeIndexB}; }
  testing::Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

// SCOPE and FFT show the timebase on yellow and publish it to the capture; the other modes
// show the generator length on grey and publish nothing.
TEST_F(Timebase, ReadoutsAndCopiesFollowTheMode) {
  s.SampleRateIndex = 0;
  s.SampleSizeIndex = 5;
  s.RateMantissa = 1.5f;
  s.GenLastIndex = 1023;
  for (int mode : {1, 4}) {
    s.OperatingMode = mode;
    DSAMPLE(s);
    const bool scope = mode == 4;
    EXPECT_EQ(std::pair(p.SRATEDISP.backColour, p.SSIZEDISP.backColour),
              std::pair(scope ? kYellow : kGrey, scope ? kYellow : kGrey));
    EXPECT_EQ(p.SRATEDISP.texts(), scope ? " 3   KHz" : "");
    EXPECT_EQ(p.SSIZEDISP.texts(), scope ? "   64K " : " 1024");
    EXPECT_EQ(copies(), (scope ? Ints{0, 0, 5, 5} : Ints{3, 3, 1, 1}));
  }
}

// Each press steps the rate once and shows it; at either end a press changes nothing but
// still redraws the readout.
TEST_F(Timebase, RateButtonsStepThroughEveryRateClampAndStillRedraw) {
  const char* shown[] = {" 2   KHz", " 20 KHz", " 200KHz", " 2   MHz", " 20 MHz"};
  s.SampleRateIndex = 0;
  for (int i = 1; i < 5; ++i) {
    p.SRATEP.mouseDown();
    EXPECT_EQ(p.SRATEDISP.texts(), shown[i]);
  }
  const auto clears = p.SRATEDISP.clears;
  p.SRATEP.keyPress(13);
  EXPECT_EQ(s.SampleRateIndex, 4);
  EXPECT_GT(p.SRATEDISP.clears, clears);
  for (int i = 3; i >= -1; --i) {
    p.SRATEN.mouseDown();
    EXPECT_EQ(p.SRATEDISP.texts(), shown[std::max(i, 0)]);
  }
  EXPECT_EQ(s.SampleRateIndex, 0);
}

TEST_F(Timebase, SizeAtTheEndsClampsAndSetsTheScrollMaximumByScrollUnit) {
  s.SampleSizeIndex = 5;
  p.SSIZEP.mouseDown();
  EXPECT_EQ((Ints{s.SampleSizeIndex, p.HScroll1.Max, p.HScroll2.Max}), (Ints{5, 32767, 32767}));
  s.ScrollUnit = 512;
  p.SSIZEP.keyPress(13);
  EXPECT_EQ(p.HScroll1.Max, 16383);
  s.SampleSizeIndex = 0;
  p.SSIZEN.mouseDown();
  EXPECT_EQ((Ints{s.SampleSizeIndex, p.HScroll2.Max}), (Ints{0, 511}));
}

// A mouse press scrolls over what the display shows: nothing in COUNTER, the generator table in
// the generator modes.
TEST_F(Timebase, SizeMousePressInOtherModes) {
  s.OperatingMode = 3;
  p.HScroll1.setMax(1234);
  p.SSIZEP.mouseDown();
  EXPECT_EQ((Ints{s.SampleSizeIndex, s.SizeIndexA, p.HScroll1.Max}), (Ints{2, 1, 1234}));
  EXPECT_EQ(p.SSIZEDISP.backColour, kGrey);
  p.SSIZEP.keyPress(13);  // a key press sets the capture's range whatever the mode
  EXPECT_EQ(p.HScroll1.Max, 8 * 1024 - 1);
  s.OperatingMode = 2;
  s.GenScrollLast = 2047.5f;
  p.SSIZEN.mouseDown();
  EXPECT_EQ(p.HScroll2.Max, 2048);  // 2047.5 rounds to the even neighbour
}

}  // namespace
}  // namespace qvx
