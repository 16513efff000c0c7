#include "acquisition/timebase.h"

#include <gtest/gtest.h>

#include "control/wiring.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;

TEST(Timebase, RateReadoutsOfBothModels) {
  const char* twenty[] = {" 2   KHz", " 20 KHz", " 200KHz", " 2   MHz", " 20 MHz"};
  const char* thirty[] = {" 3   KHz", " 30 KHz", " 300KHz", " 3   MHz", " 30 MHz"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(rateReadout(i, 1.0f), twenty[i]);
    EXPECT_EQ(rateReadout(i, 1.5f), thirty[i]);
  }
}

TEST(Timebase, ScopeModeShowsYellowReadoutsAndPublishesCopies) {
  Rig rig;
  Scope& s = rig.scope;
  s.OperatingMode = 4;  // FFT publishes as SCOPE does
  s.SampleRateIndex = 0;
  s.SampleSizeIndex = 5;
  s.RateMantissa = 1.5f;
  DSAMPLE(s);
  EXPECT_EQ(s.panel.SRATEDISP.backColour, 0xC0FFFFu);
  EXPECT_EQ(s.panel.SSIZEDISP.backColour, 0xC0FFFFu);
  EXPECT_EQ(s.panel.SRATEDISP.texts(), " 3   KHz");
  EXPECT_EQ(s.panel.SSIZEDISP.texts(), "   64K ");
  EXPECT_EQ(s.RateIndexA, 0);
  EXPECT_EQ(s.RateIndexB, 0);
  EXPECT_EQ(s.SizeIndexA, 5);
  EXPECT_EQ(s.SizeIndexB, 5);
}

TEST(Timebase, OtherModesShowTheGeneratorLengthOnGreyWithoutCopies) {
  Rig rig;
  Scope& s = rig.scope;
  s.OperatingMode = 1;
  s.GenLastIndex = 1023;
  s.SampleRateIndex = 1;
  s.SampleSizeIndex = 4;
  DSAMPLE(s);
  EXPECT_EQ(s.panel.SRATEDISP.backColour, 0xC0C0C0u);
  EXPECT_EQ(s.panel.SSIZEDISP.backColour, 0xC0C0C0u);
  EXPECT_EQ(s.panel.SRATEDISP.texts(), "");
  EXPECT_EQ(s.panel.SSIZEDISP.texts(), " 1024");
  EXPECT_EQ(s.RateIndexA, 3);
  EXPECT_EQ(s.SizeIndexA, 1);
}

TEST(Timebase, RateButtonsClampAndStillRedraw) {
  Rig rig;
  Scope& s = rig.scope;
  s.SampleRateIndex = 0;
  auto clears = s.panel.SRATEDISP.clears;
  SRATEN_MouseDown(s);
  EXPECT_EQ(s.SampleRateIndex, 0);
  EXPECT_GT(s.panel.SRATEDISP.clears, clears);
  s.SampleRateIndex = 4;
  SRATEP_KeyPress(s);
  EXPECT_EQ(s.SampleRateIndex, 4);
  EXPECT_EQ(s.panel.SRATEDISP.texts(), " 20 MHz");
  SRATEN_KeyPress(s);
  EXPECT_EQ(s.RateIndexA, 3);
}

TEST(Timebase, SizeAtTheTopSetsTheScrollMaximumByScrollUnit) {
  Rig rig;
  Scope& s = rig.scope;
  s.SampleSizeIndex = 5;
  SSIZEP_MouseDown(s);
  EXPECT_EQ(s.SampleSizeIndex, 5);
  EXPECT_EQ(s.panel.HScroll1.Max, 32767);
  EXPECT_EQ(s.panel.HScroll2.Max, 32767);
  s.ScrollUnit = 512;
  SSIZEP_KeyPress(s);
  EXPECT_EQ(s.panel.HScroll1.Max, 16383);
  s.SampleSizeIndex = 0;
  SSIZEN_MouseDown(s);
  EXPECT_EQ(s.SampleSizeIndex, 0);
  EXPECT_EQ(s.panel.HScroll2.Max, 511);
}

TEST(Timebase, CounterModeMousePressLeavesCopiesAndScrollBars) {
  Rig rig;
  Scope& s = rig.scope;
  s.OperatingMode = 3;
  s.panel.HScroll1.setMax(1234);
  s.panel.HScroll2.setMax(1234);
  SSIZEP_MouseDown(s);
  EXPECT_EQ(s.SampleSizeIndex, 2);
  EXPECT_EQ(s.SizeIndexA, 1);
  EXPECT_EQ(s.panel.HScroll1.Max, 1234);
  EXPECT_EQ(s.panel.SSIZEDISP.backColour, 0xC0C0C0u);
  // A key press sets the capture's range whatever the mode.
  SSIZEP_KeyPress(s);
  EXPECT_EQ(s.panel.HScroll1.Max, 8 * 1024 - 1);
}

TEST(Timebase, GeneratorModesScrollOverTheGeneratorTable) {
  Rig rig;
  Scope& s = rig.scope;
  s.OperatingMode = 2;
  s.GenScrollLast = 2047.5f;
  SSIZEN_MouseDown(s);
  EXPECT_EQ(s.panel.HScroll1.Max, 2048);  // 2047.5 rounds to the even neighbour
  EXPECT_EQ(s.panel.HScroll2.Max, 2048);
}

TEST(Timebase, WiredButtonsStepOnMouseAndKey) {
  Rig rig;
  Scope& s = rig.scope;
  wireAcquisition(s);
  s.panel.SRATEP.mouseDown();
  EXPECT_EQ(s.SampleRateIndex, 4);
  s.panel.SSIZEN.keyPress(13);
  EXPECT_EQ(s.SampleSizeIndex, 0);
}

}  // namespace
}  // namespace qvx
