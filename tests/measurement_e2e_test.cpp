#include <gtest/gtest.h>

#include <fstream>

#include "control/startup.h"
#include "rig.h"

namespace qvx {
namespace {

// The whole road of a capture: GO on the panel, the register conversation with the
// simulated instrument, readout, redraw, and the automatic measurement of the
// trigger-source channel shown in the readout strip.
TEST(MeasurementEndToEnd, SineOnAAt200kSamplesReadsItsFrequencyAndDutyCycle) {
  testing::TempFolder folder;
  std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
  sim::Config cfg;
  cfg.inputs.a = sim::parseAnalog("sine:1000:3", "--sim-a");
  testing::Rig rig(cfg);
  Scope& s = rig.scope;
  Form_Load(s);
  Form_Activate(s);

  s.panel.SRATEN.mouseDown();  // 2 MS/s -> 200 kS/s
  ASSERT_EQ(s.RateIndexA, 2);
  s.panel.GOBUTTON.click();

  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.panel.CURSINFO.texts(), "CH A| 1000Hz|d.c  50 %");
}

}  // namespace
}  // namespace qvx
