#pragma once
#include <vector>

#include "device/recorder.h"

namespace qvx::testing {

constexpr std::uint32_t kDataPort = 0x378, kStatusPort = 0x379, kControlPort = 0x37A;

// A port conversation built from the register primitives, byte by byte, to compare
// with what a RecordingPort saw.
struct Conversation {
  std::vector<RecordingPort::Access> log;
  void data(int v) { log.push_back({true, kDataPort, static_cast<std::uint8_t>(v)}); }
  void control(int v) { log.push_back({true, kControlPort, static_cast<std::uint8_t>(v)}); }
  void read(int v) { log.push_back({false, kDataPort, static_cast<std::uint8_t>(v)}); }
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

// A byte written to `address`.
inline RecordingPort::Access written(std::uint32_t address, int v) {
  return {true, address, static_cast<std::uint8_t>(v)};
}

// The accesses of one register write, WriteReg(v, r).
inline std::vector<RecordingPort::Access> regWrite(int v, int r) {
  Conversation c;
  c.writeReg(v, r);
  return c.log;
}

}  // namespace qvx::testing
