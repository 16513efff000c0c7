#include "generator/upload.h"

#include <algorithm>

#include "core/status_box.h"
#include "counter/counter.h"
#include "device/link.h"

namespace qvx {

namespace {
constexpr int kRegIdle = 0, kRegClose = 2, kRegLength = 3, kRegLengthPulses = 6, kRegReset = 7,
              kRegGenWrite = 10, kRegContinuous = 11, kRegOutput = 38;
constexpr int kCommitLength = 128;
constexpr int kComparatorSource = 2;
}  // namespace

void DACWRITE(Scope& s) {
  WriteRegPulse(s, s.PortIdle, kRegReset);
  WriteReg(s, s.PortIdle, kRegGenWrite);
  // Each 12-bit code travels as its low four bits, then its bits 4..11.
  const std::int32_t last =
      std::min<std::int32_t>(s.DacLastIndex, static_cast<std::int32_t>(s.GenTable.size()) - 1);
  for (std::int32_t i = 0; i <= last; ++i) {
    const int code = s.GenTable[i];
    ClockPair(s, code & 0x0F, (code & 0xFF0) / 16);
  }
  WriteReg(s, s.PortIdle, kRegClose);
  // The loop length is counted as the memory left over after the wave.
  WriteRegPulse(s, s.PortIdle, kRegReset);
  WriteReg(s, s.PortIdle, kRegLengthPulses);
  s.port.OutPort(s.DataPort, 0);
  for (std::int32_t i = 0; i < s.DeviceMemSize - s.DacLastIndex; ++i) StrobePulse(s);
  WriteReg(s, s.PortIdle + kCommitLength, kRegLength);
  WriteReg(s, s.PortIdle, kRegIdle);
}

void DACCONT(Scope& s) {
  WriteRegPulse(s, s.PortIdle, kRegContinuous);
  reloadloop(s);
  WriteReg(s, s.PortIdle, kRegOutput);
  WriteReg(s, s.RateCode, kRegOutput);
}

void DACGEN(Scope& s) {
  DACWRITE(s);
  DACCONT(s);

  showStatus(s, "   Signal Output mode", "  Press [STOP] to exit");
  PictureArea& box = s.panel.Trigwait;
  s.host.DoEvents();

  // The counter measures the output through the trigger comparator until STOP.
  s.CounterRegSel = kRegOutput;
  s.FCntSource = kComparatorSource;
  // Whatever the readout held belongs to another signal.
  s.FCntNote = kCountNoReading;
  FcntON(s);
  FCntMain(s);

  WriteReg(s, s.PortIdle, kRegOutput);
  box.cls();
  box.visible = false;
  s.host.DoEvents();
  // An empty memory leaves the output resting at 0 V.
  DACZERO(s);
}

}  // namespace qvx
