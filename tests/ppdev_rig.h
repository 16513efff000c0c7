#pragma once
#include <memory>
#include <string>
#include <vector>

#include "device/ppdev_port.h"
#include "device/recorder.h"
#include "fake_parport.h"
#include "rig.h"

namespace qvx::testing {

// The ppdev backend over the fake driver, whose three nodes are LPT1..3 wired to the
// instrument through a recorder of what reaches the cable. The backend's messages are
// collected instead of printed.
struct PpdevOverFake : PortIO {
  PpdevOverFake(PortIO& instrument, const std::string& device)
      : cable(&instrument),
        fake(cable),
        ppdev(fake, device, [this](const std::string& m) { messages.push_back(m); }) {
    fake.nodes["/dev/parport0"] = {0x378};
    fake.nodes["/dev/parport1"] = {0x278};
    fake.nodes["/dev/parport2"] = {0x3BC};
  }
  void OutPort(std::uint32_t address, std::uint8_t value) override {
    ppdev.OutPort(address, value);
  }
  std::uint8_t InPort(std::uint32_t address) override { return ppdev.InPort(address); }
  void Shutdown() override { ppdev.Shutdown(); }

  RecordingPort cable;
  FakeParport fake;
  std::vector<std::string> messages;
  PpdevPort ppdev;
};

// A rig whose conversation goes through the ppdev backend; `prepare` may change the
// fake's nodes before the first access.
inline Rig::Backend throughPpdev(std::string device = {},
                                 std::function<void(FakeParport&)> prepare = {}) {
  return [device, prepare](PortIO& instrument) {
    auto p = std::make_unique<PpdevOverFake>(instrument, device);
    if (prepare) prepare(p->fake);
    return std::unique_ptr<PortIO>(std::move(p));
  };
}

inline PpdevOverFake& ppdevOf(Rig& r) {
  return static_cast<PpdevOverFake&>(*r.backend);
}

// What reaches the cable of a PC port when the program's conversation goes through
// ppdev. An ECR write becomes PPSETMODE and writes no register. The data direction is
// bit 5 of the port's control register, and the driver writes the whole register for each
// PPDATADIR and each PPWCONTROL: a control write that changes the direction arrives after
// the direction change, which keeps the lines as they were. `known` is the direction the
// backend last set (-1 none yet); the cable starts with the lines as outputs.
inline std::vector<RecordingPort::Access> cableConversation(
    const std::vector<RecordingPort::Access>& program, std::uint32_t base, int known) {
  std::vector<RecordingPort::Access> cable;
  std::uint8_t lines = 0;
  for (const RecordingPort::Access& a : program) {
    if (a.address == base + 0x402) continue;
    if (a.write && a.address == base + 2) {
      const int reverse = (a.value & 0x20) ? 1 : 0;
      if (reverse != known)
        cable.push_back({true, base + 2, static_cast<std::uint8_t>(lines | (a.value & 0x20))});
      known = reverse;
      lines = a.value & ~0x20;
    }
    cable.push_back(a);
  }
  return cable;
}

}  // namespace qvx::testing
