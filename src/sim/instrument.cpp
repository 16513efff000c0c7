#include "sim/instrument.h"

namespace qvx::sim {

namespace {
constexpr std::uint32_t kLptBase[] = {0x378, 0x278, 0x3BC};
constexpr int kMemSize = 65536;
}  // namespace

Instrument::Instrument(Config config, std::function<double()> clock)
    : config_(config), clock_(std::move(clock)), genMemory_(kMemSize, 0) {}

std::uint32_t Instrument::base() const {
  int lpt = config_.lpt >= 1 && config_.lpt <= 3 ? config_.lpt : 1;
  return kLptBase[lpt - 1];
}

std::uint8_t Instrument::probeMask() const {
  int mask = 0x10 * config_.modelCode;
  if (config_.generator) mask |= 0x80;
  if (config_.channelB) mask |= 0x40;
  return static_cast<std::uint8_t>(mask);
}

void Instrument::OutPort(std::uint32_t address, std::uint8_t value) {
  if (!config_.plugged) return;
  const std::uint32_t b = base();
  if (address == b) {
    data_ = value;
  } else if (address == b + 2) {
    onControl(value);
  }
  // The ECP mode register (base + 402H) belongs to the PC's port, not to us.
}

std::uint8_t Instrument::InPort(std::uint32_t address) {
  const std::uint32_t b = base();
  if (!config_.plugged || (address != b && address != b + 1)) {
    // An empty port: lines float, reads do not change with anything written.
    return address == b + 1 ? 0x78 : 0xFF;
  }
  if (address == b + 1) {
    int status = (data_ & 0x80) ? probeMask() : 0;
    if (!config_.powered || endFlag_) status |= 0x08;
    return static_cast<std::uint8_t>(status);
  }
  return data_;
}

void Instrument::onControl(std::uint8_t value) {
  const std::uint8_t before = control_;
  control_ = value;
  if (!config_.powered) return;
  if (value & 0x20) return;  // data lines are inputs: nothing is latched from them

  const bool initBefore = before & 0x04, initNow = value & 0x04;
  const bool strobeBefore = before & 0x01, strobeNow = value & 0x01;
  if (!initBefore && initNow) latchedValue_ = data_;
  if (initBefore && !initNow) registerWrite(data_, latchedValue_);
  if (!strobeBefore && strobeNow) strobeFirst_ = data_;
  if (strobeBefore && !strobeNow) clock(strobeFirst_, data_);
}

void Instrument::registerWrite(int reg, int value) {
  function_ = reg & 0x3F;
  functionValue_ = value;
  functionReg_ = reg;
  switch (function_) {
    case 3:
      if (value == 128) loopLength_ = kMemSize - pulses_;
      break;
    case 10:
      genAddress_ = 0;
      break;
    default:
      break;
  }
}

void Instrument::clock(int b1, int b2) {
  switch (function_) {
    case 7:  // sequencer reset
      pulses_ = 0;
      genAddress_ = 0;
      endFlag_ = false;
      break;
    case 6:  // length pulses, four points or one point each
      pulses_ += functionValue_ == 7 ? 4 : 1;
      break;
    case 10:  // generator memory stream: low nibble, then the high eight bits
      genMemory_[genAddress_] = static_cast<std::uint16_t>((b1 & 0x0F) + 16 * b2);
      genAddress_ = (genAddress_ + 1) % kMemSize;
      ++genWrites_;
      break;
    default:
      break;
  }
}

}  // namespace qvx::sim
