#pragma once
#include <functional>

#include "started.h"

namespace qvx::testing {

constexpr int kFrontClear = 128, kFrontRun = 32;

// The program started on the simulated instrument and stepped to COUNTER mode with the
// mode buttons, as a user does.
struct CounterRig : Started {
  explicit CounterRig(sim::Config cfg = {}) : Started(cfg) {
    rig.host.onPump = nullptr;
    while (s.OperatingMode != 3) p.SmodeUP.press();
    rig.port.log.clear();
  }
  // Presses GO; STOP is pressed at the first event pump at which `stopWhen` holds, or
  // after a minute of the virtual clock, so a counter that never answers fails the test
  // instead of hanging it.
  void runUntil(const std::function<bool()>& stopWhen) {
    started = rig.host.clock;
    rig.host.onPump = [this, stopWhen] {
      if (s.RunFlag == 1 && (stopWhen() || rig.host.clock - started > 60)) p.GOBUTTON.press();
    };
    p.GOBUTTON.press();
    rig.host.onPump = nullptr;
  }
  void runForReadings(int n) {
    runUntil([this, n] { return s.FCntReadings >= n; });
  }
  void toCounterMode(int presses) {  // Mode once, then ST/SP `presses` times
    p.FCntModebutton.press();
    for (int i = 0; i < presses; ++i) p.FCntStSpbutton.press();
  }
  void chooseSource(int source) {
    while (s.FCntSource != source) p.FCntSourcebutton.press();
  }
  // How many times the counter was cleared: front-end bytes with the clear bit.
  int clears() const {
    int n = 0, previousFront = 0;
    const auto& log = rig.port.log;
    for (std::size_t i = 0; i + 3 < log.size(); ++i) {
      // ClockPair(control, front): data, STROBE up, data, STROBE down.
      if (log[i + 1] == RecordingPort::Access{true, 0x37A, 1} && log[i + 3].value == 0 &&
          log[i + 3].address == 0x37A && log[i + 2].write && log[i + 2].address == 0x378) {
        const int front = log[i + 2].value;
        n += (front & kFrontClear) && !(previousFront & kFrontClear);
        previousFront = front;
      }
    }
    return n;
  }
  double started = 0;
};

}  // namespace qvx::testing
