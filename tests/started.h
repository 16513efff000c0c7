#pragma once
#include <fstream>

#include "control/startup.h"
#include "device/port_file.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx::testing {

// The program in a fresh folder whose port file names LPT1, leaving the port panel with EXIT
// whenever it opens; started at once unless `start` is false, with the port log and the
// sleeps of start-up cleared. `between` puts a port backend between the program and the
// instrument (see Rig).
struct Started {
  explicit Started(sim::Config config = {}, bool start = true, const Rig::Backend& between = {})
      : rig(config, between) {
    std::ofstream(kPortFileName, std::ios::binary) << " 1 \r\n";
    exitPortPanelWhenShown(rig);
    if (start) this->start();
  }
  void start() {
    Form_Load(s);
    Form_Activate(s);
    rig.port.log.clear();
    rig.host.sleeps.clear();
  }
  TempFolder folder;
  Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

}  // namespace qvx::testing
