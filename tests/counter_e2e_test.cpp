#include <gtest/gtest.h>

#include <fstream>

#include "control/run.h"
#include "control/startup.h"
#include "counter/counter.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx {
namespace {

// The program started on the simulated instrument and stepped to COUNTER mode with the
// mode buttons, as a user does.
struct CounterRig {
  explicit CounterRig(sim::Config cfg = {}) : rig(cfg) {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    testing::exitPortPanelWhenShown(rig);
    Form_Load(s);
    Form_Activate(s);
    while (s.OperatingMode != 3) p.SmodeUP.press();
    rig.port.log.clear();
  }
  // Presses GO and STOP once `stopWhen` holds at an event pump.
  void runUntil(std::function<bool()> stopWhen) {
    rig.host.onPump = [this, stopWhen] {
      if (s.RunFlag == 1 && stopWhen()) p.GOBUTTON.press();
    };
    p.GOBUTTON.press();
    rig.host.onPump = nullptr;
  }
  testing::TempFolder folder;
  testing::Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

TEST(CounterEndToEnd, FiveKilohertzOnCReadsFiveThousandAfterOneGate) {
  CounterRig c;
  c.runUntil([&] { return c.s.FCntReadings >= 1; });
  EXPECT_EQ(c.s.FCntText, "0000005000");
  EXPECT_EQ(c.p.Countdisp.texts(), "0000005000  ");
}

}  // namespace
}  // namespace qvx
