#pragma once

namespace qvx {

// The print menu (printing/).
struct PrintState {
  int PrintActive = 0;
  int PrintWholeChoice = 0;   // print menu: 1 whole window landscape, 2 portrait
  int PrintSignalChoice = 0;  // print menu: 1 the signal display alone
  int PrintExit = 0;          // print menu: its EXIT was pressed
};

}  // namespace qvx
