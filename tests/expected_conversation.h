#pragma once
#include <vector>

#include "device/recorder.h"

namespace qvx::testing {

// A port conversation built from the register primitives, byte by byte, to compare
// with what a RecordingPort saw.
struct Conversation {
  std::vector<RecordingPort::Access> log;
  void data(int v) { log.push_back({true, 0x378, static_cast<std::uint8_t>(v)}); }
  void control(int v) { log.push_back({true, 0x37A, static_cast<std::uint8_t>(v)}); }
  void read(int v) { log.push_back({false, 0x378, static_cast<std::uint8_t>(v)}); }
  void writeReg(int v, int r) {
    data(v);
    control(4);
    data(r);
    control(0);
  }
  void writeRegPulse(int v, int r) {
    writeReg(v, r);
    control(0);
    strobe();
  }
  void clockPair(int a, int b) {
    data(a);
    control(1);
    data(b);
    control(0);
  }
  void strobe() {
    control(1);
    control(0);
  }
};

}  // namespace qvx::testing
