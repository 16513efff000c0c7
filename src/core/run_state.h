#pragma once

namespace qvx {

// Operating mode and run control (control/): the mode, GO/STOP, single or repeat.
struct RunState {
  int OperatingMode = 0;  // 0 SCOPE, 1 GENERATOR, 2 SCOPE+GEN, 3 COUNTER, 4 FFT
  int PrevMode = 0;
  int RunFlag = 0;
  // 1 from the start of a run to its end, whether GO or the command file started it and
  // even after STOP has already cleared RunFlag.
  int RunActive = 0;
  int RepeatMode = 0;
  int CaptureDone = 1;
  int TrigDelayMode = 0;
};

}  // namespace qvx
