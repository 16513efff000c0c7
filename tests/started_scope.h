#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include "control/startup.h"
#include "port_panel_script.h"
#include "remote/command_file.h"
#include "rig.h"

namespace qvx::testing {

// A scope started as the program starts, in an empty folder, with the simulated
// instrument on LPT1; the poll is driven by hand.
struct StartedScope {
  StartedScope() {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    exitPortPanelWhenShown(rig);
    Form_Load(s);
    Form_Activate(s);
    rig.port.log.clear();
    rig.host.sleeps.clear();
  }
  // Writes the command file under the current prefix.
  void command(const std::string& text) {
    std::ofstream(s.RemotePrefix + "com.txt", std::ios::binary) << text;
  }
  // Writes the command file and runs one tick of the poll timer.
  void run(const std::string& text) {
    command(text);
    Timer2_Timer(s);
  }
  bool commandFileThere() const { return std::filesystem::exists(s.RemotePrefix + "com.txt"); }

  TempFolder folder;
  Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

}  // namespace qvx::testing
