#pragma once
#include <fstream>

#include "control/startup.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx::testing {

// A scope started as the program starts, on the simulated instrument on LPT1, in a
// folder of its own; `mode` is then chosen with the mode buttons as a user would.
struct GeneratorRig {
  explicit GeneratorRig(sim::Config config = {}, int mode = 0) : rig(config) {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    exitPortPanelWhenShown(rig);
    Form_Load(s);
    Form_Activate(s);
    for (int i = 0; i < mode; ++i) p.SmodeUP.click();
    rig.port.log.clear();
    rig.host.sleeps.clear();
  }
  TempFolder folder;
  Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

}  // namespace qvx::testing
