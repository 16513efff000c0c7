#include "device/link.h"

namespace qvx {

namespace {
std::uint8_t byteOf(int v) { return static_cast<std::uint8_t>(v & 0xFF); }
}  // namespace

void WriteReg(Scope& s, int value, int reg) {
  s.port.OutPort(s.DataPort, byteOf(value));
  s.port.OutPort(s.ControlPort, 4);
  s.port.OutPort(s.DataPort, byteOf(reg));
  s.port.OutPort(s.ControlPort, 0);
}

void StrobePulse(Scope& s) {
  s.port.OutPort(s.ControlPort, 1);
  s.port.OutPort(s.ControlPort, 0);
}

void WriteRegPulse(Scope& s, int value, int reg) {
  WriteReg(s, value, reg);
  s.port.OutPort(s.ControlPort, 0);
  s.port.OutPort(s.ControlPort, 1);
  s.port.OutPort(s.ControlPort, 0);
}

void ClockPair(Scope& s, int first, int second) {
  s.port.OutPort(s.DataPort, byteOf(first));
  s.port.OutPort(s.ControlPort, 1);
  s.port.OutPort(s.DataPort, byteOf(second));
  s.port.OutPort(s.ControlPort, 0);
}

void initport(Scope& s) {
  std::uint32_t base = 0;
  switch (s.LptNumber) {
    case 1: base = 0x378; break;
    case 2: base = 0x278; break;
    case 3: base = 0x3BC; break;
    default: base = s.DataPort; break;  // keep the previous port
  }
  s.DataPort = base;
  s.StatusPort = base + 1;
  s.ControlPort = base + 2;
  s.EcrPort = base + 0x402;

  // Byte mode of the ECP port, which lets the data lines be read.
  s.port.OutPort(s.EcrPort, 0x20);
  s.port.OutPort(s.DataPort, 0);
  s.port.OutPort(s.ControlPort, 0);
  WriteReg(s, 0, 0);

  // Presence probe: which status lines follow data bit 7.
  s.port.OutPort(s.EcrPort, 0x20);
  s.port.OutPort(s.DataPort, 0);
  int s1 = s.port.InPort(s.StatusPort);
  s.port.OutPort(s.DataPort, 0x80);
  int s2 = s.port.InPort(s.StatusPort);

  s.ProbeBits = s1 ^ s2;
  s.ChanBFitted = s.ProbeBits & 0x40;
  s.GenFitted = s.ProbeBits & 0x80;
  s.ModelCode = (s.ProbeBits & 0x30) / 16;
  s.RateMantissa = s.ModelCode >= 2 ? 1.5f : 1.0f;
}

void Testpower(Scope& s) {
  WriteRegPulse(s, 0, 7);
  s.PowerFault = s.port.InPort(s.StatusPort) & 8;
}

void SETMAXLOOP(Scope& s) {
  const std::int32_t spare = s.DeviceMemSize - s.SampleCount;
  WriteRegPulse(s, 0, 7);
  WriteReg(s, 7, 6);
  for (std::int32_t i = 0; i < spare / 4; ++i) StrobePulse(s);
  WriteReg(s, 0, 6);
  for (std::int32_t i = 0; i < spare % 4; ++i) StrobePulse(s);
  WriteReg(s, 128, 3);
  WriteReg(s, 0, 0);
}

void reloadloop(Scope& s) {
  WriteRegPulse(s, 0, 0);
  WriteReg(s, 0, 2);
}

void DACZERO(Scope& s) {
  WriteRegPulse(s, 0, 7);
  WriteReg(s, 0, 10);
  for (std::int32_t i = 0; i <= s.BufLast; ++i) {
    s.port.OutPort(s.DataPort, 0);
    s.port.OutPort(s.ControlPort, 1);
    s.port.OutPort(s.ControlPort, 0);
  }
  WriteReg(s, 0, 2);
}

}  // namespace qvx
