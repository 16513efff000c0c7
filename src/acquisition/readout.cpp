#include "acquisition/readout.h"

#include <algorithm>

#include "device/link.h"
#include "panel/numeric.h"

namespace qvx {

namespace {
// One side of the instrument's memory: which register selects it, the strobe values
// that clock it, and where its samples go.
struct Side {
  int selectReg;
  std::uint8_t strobeHigh, strobeLow;
  bool analogueOn, digitalOn;
  std::int16_t* analogue;
  std::int16_t* digital;
};

void strobeSteps(Scope& s, std::int32_t count) {
  PortIO& port = s.port;
  const std::uint32_t control = s.ControlPort;
  for (std::int32_t i = 0; i < count; ++i) {
    port.OutPort(control, 0x23);
    port.OutPort(control, 0x22);
  }
}

void skipTo(Scope& s, const Side& side, std::int32_t skip) {
  const SkipSteps steps = skipSteps(skip);
  WriteReg(s, 7, 0);
  WriteReg(s, 7, side.selectReg);
  strobeSteps(s, steps.quads);
  WriteReg(s, s.PortIdle, side.selectReg);
  strobeSteps(s, steps.singles);
}

std::int32_t pointsToRead(const TimebaseState& s) {
  return std::clamp<std::int32_t>(s.SampleCount, 0, 65536);
}

// The tight part: two reads and two strobes per point (one read when only the digital
// channel is wanted). The port is referenced once and nothing is allocated.
void readPoints(Scope& s, const Side& side) {
  PortIO& port = s.port;
  const std::uint32_t data = s.DataPort, control = s.ControlPort;
  const std::int32_t n = pointsToRead(s);
  const std::uint8_t hi = side.strobeHigh, lo = side.strobeLow;
  std::int16_t* analogue = side.analogue;
  std::int16_t* digital = side.digital;

  if (side.analogueOn && side.digitalOn) {
    for (std::int32_t i = 0; i < n; ++i) {
      const int first = port.InPort(data);
      digital[i] = static_cast<std::int16_t>((first & 0x80) * 4 + 2048);
      port.OutPort(control, hi);
      const int second = port.InPort(data);
      analogue[i] = static_cast<std::int16_t>((first & 0x78) * 32 + second);
      port.OutPort(control, lo);
    }
  } else if (side.analogueOn) {
    for (std::int32_t i = 0; i < n; ++i) {
      const int first = port.InPort(data);
      port.OutPort(control, hi);
      const int second = port.InPort(data);
      analogue[i] = static_cast<std::int16_t>((first & 0x78) * 32 + second);
      port.OutPort(control, lo);
    }
  } else {
    for (std::int32_t i = 0; i < n; ++i) {
      const int first = port.InPort(data);
      digital[i] = static_cast<std::int16_t>((first & 0x80) * 4 + 2048);
      port.OutPort(control, hi);
      port.OutPort(control, lo);
    }
  }
}

// Gain and offset in codes around mid-scale. The result is clamped to the converter's
// range before it is stored, so no gain can overflow the 16-bit sample.
void calibrate(std::int16_t* buf, std::int32_t n, double gain, double offset) {
  if (gain == 1 && offset == 0) return;
  for (std::int32_t i = 0; i < n; ++i) {
    const double v = ((buf[i] + offset) - 2048) * gain + 2048;
    buf[i] = static_cast<std::int16_t>(std::clamp<long long>(roundHalfEven(v), 0, 4095));
  }
}

}  // namespace

SkipSteps skipSteps(std::int32_t skip) {
  if (skip <= 0) return {};
  return {skip / 4, skip % 4};
}

void readbufferA(Scope& s) {
  const bool a = s.ChanAOn == 1, c = s.ChanCOn == 1;
  if (!a && !c) return;
  const Side side{4, 0x23, 0x22, a, c, s.BufA.data(), s.BufC.data()};
  skipTo(s, side, s.DeviceMemSize - s.SampleCount - s.PretrigPoints);
  s.port.OutPort(s.ControlPort, 0x22);
  readPoints(s, side);
  if (a) calibrate(s.BufA.data(), pointsToRead(s), s.CalGainA, s.CalOffsetA);
  s.port.OutPort(s.ControlPort, 0);
}

void readbufferB(Scope& s) {
  const bool b = s.ChanBOn == 1, d = s.ChanDOn == 1;
  if (!b && !d) return;
  const Side side{0x44, 0x27, 0x26, b, d, s.BufB.data(), s.BufD.data()};
  // The pretrigger is subtracted only when A and C are both off: with either of them on,
  // B and D start at the trigger point while A and C start the pretrigger earlier.
  const int acOn = (s.ChanAOn | s.ChanCOn) != 0 ? 1 : 0;
  skipTo(s, side, s.DeviceMemSize - s.SampleCount - s.PretrigPoints * (1 - acOn));
  s.port.OutPort(s.ControlPort, 0x22);
  s.port.OutPort(s.ControlPort, 0x26);
  readPoints(s, side);
  s.port.OutPort(s.ControlPort, 0x22);
  s.port.OutPort(s.ControlPort, 0);
  if (b) calibrate(s.BufB.data(), pointsToRead(s), s.CalGainB, s.CalOffsetB);
}

}  // namespace qvx
