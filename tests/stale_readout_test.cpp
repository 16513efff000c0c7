#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "counter/counter.h"
#include "counter_rig.h"
#include "display/render.h"
#include "started.h"

// A readout shows the signal on the screen now, never an earlier one as if it were current.
namespace qvx {
namespace {

bool holdsDigits(const std::string& shown) {
  return std::any_of(shown.begin(), shown.end(), [](char c) { return c >= '1' && c <= '9'; }) ||
         shown.find("0000000000") != std::string::npos;
}

TEST(StaleReadout, TheMeasurementOfACaptureLeavesWithTheModeThatShowedIt) {
  sim::Config cfg;
  cfg.inputs.a = sim::parseAnalog("sine:1000:3", "--sim-a");
  testing::Started st(cfg);
  st.p.SRATEN.mouseDown();  // 200 kS/s: whole cycles of the 1 kHz sine
  st.p.GOBUTTON.click();
  ASSERT_EQ(st.p.CURSINFO.texts(), "CH A| 1000Hz|d.c  50 %");
  st.p.SmodeUP.click();  // GENERATOR: the screen shows the generator's wave, not A
  ASSERT_EQ(st.s.OperatingMode, 1);
  EXPECT_EQ(st.p.CURSINFO.texts(), "");
  HScroll1_Change(st.s);  // a later redraw in GENERATOR measures nothing either
  EXPECT_EQ(st.p.CURSINFO.texts(), "");
}

// The counter in a GENERATOR run: an earlier run's reading is not shown while the first
// gate of this one runs; the output's own frequency follows.
TEST(StaleReadout, GeneratorRunDoesNotShowAnEarlierRunsFrequency) {
  testing::CounterRig c;
  while (c.s.OperatingMode != 1) c.p.SmodeDown.press();  // GENERATOR
  c.s.FCntValue = 114;                                   // what an earlier run left
  CountDisplay(c.s);
  c.s.GenFreq = 1000;
  c.s.GenDirty = 1;
  std::string duringFirstGate;
  c.runUntil([&] {
    if (c.s.FCntReadings == 0) duringFirstGate = c.p.Countdisp.texts();
    return c.s.FCntReadings >= 1;
  });
  EXPECT_FALSE(holdsDigits(duringFirstGate)) << duringFirstGate;
  EXPECT_EQ(c.p.Countdisp.texts(), "0000001000  ");
}

// At 1 V p-p the output spans codes 0..2047, below the comparator's level of 2048 at which
// the counter sees it: the readout says so instead of counting zero.
TEST(StaleReadout, HalfAmplitudeOutputBelowTheLevelSaysWhyItIsNotCounted) {
  for (int amp : {2, 1}) {
    SCOPED_TRACE(amp);
    testing::CounterRig c;
    while (c.s.OperatingMode != 1) c.p.SmodeDown.press();
    c.s.GenFreq = 1000;
    c.s.GenAmpIndex = amp;
    c.s.GenDirty = 1;
    std::string during;
    c.runUntil([&] {
      during = c.p.Countdisp.texts();
      return c.s.FCntReadings >= 1 || c.rig.host.clock - c.started > 3;
    });
    const auto top =
        *std::max_element(c.s.GenTable.begin(), c.s.GenTable.begin() + c.s.DacLastIndex);
    if (amp == 2) {
      ASSERT_LT(top, c.s.TrigLevelCode);
      EXPECT_EQ(c.s.FCntReadings, 0);
      EXPECT_EQ(during, "Below Trig");
      EXPECT_EQ(c.p.Countdisp.texts(), "Below Trig");  // after STOP too, not zeros
    } else {
      EXPECT_EQ(c.p.Countdisp.texts(), "0000001000  ");
    }
  }
}

}  // namespace
}  // namespace qvx
