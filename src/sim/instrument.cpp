#include "sim/instrument.h"

namespace qvx::sim {

namespace {
constexpr std::uint32_t kLptBase[] = {0x378, 0x278, 0x3BC};
constexpr int kMemSize = 65536;
// Mid-scale code with the digital bit low, as the memory holds it before any capture.
constexpr std::uint16_t kIdleWord = (2048 >> 8) << 11;

namespace fn {
constexpr int Idle = 0, Start = 2, Length = 3, Channels = 4, LengthPulses = 6, Reset = 7,
              GenWrite = 10, TriggeredStart = 16, StepPass = 34, Output = 38;
}
}  // namespace

Instrument::Instrument(Config config, std::function<std::int64_t()> clock)
    : config_(config), clock_(std::move(clock)) {
  config_.inputs.generator = &generator_;
  for (int pair = 0; pair < 2; ++pair) {
    memory_[pair].assign(kMemSize, kIdleWord);
    stamp_[pair].assign(kMemSize, 0);
  }
}

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

bool Instrument::capturing() const {
  return running_ && now() < capture_.end;
}

bool Instrument::endFlag() const {
  return endFlag_ || (running_ && !capturing());
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
    if (running_ && !capturing()) {
      running_ = false;
      endFlag_ = true;
    }
    int status = (data_ & 0x80) ? probeMask() : 0;
    if (!config_.powered || endFlag_) status |= 0x08;
    return static_cast<std::uint8_t>(status);
  }
  if (readDirection() && config_.powered && counter_.drivesDataLines())
    return counter_.dataLines(now());
  return readDirection() && config_.powered ? readoutByte() : data_;
}

std::uint16_t Instrument::memoryWord(int pair, std::int32_t address) {
  std::uint16_t& word = memory_[pair][address];
  std::uint32_t& stamp = stamp_[pair][address];
  if (stamp != capture_.id) {
    const std::int32_t k = address - (kMemSize - capture_.length);
    const Ticks t =
        capture_.stepped ? steppedSampleTime(address) : capture_.start + k * capture_.point;
    word = sampleWord(config_.inputs, capture_.frontEnd, pair, t);
    stamp = capture_.id;
  }
  return word;
}

// The data lines in read direction: the first byte of the current point while STROBE
// is low, the second while it is high.
std::uint8_t Instrument::readoutByte() {
  const std::uint16_t word = memoryWord(readPair_, readPointer_);
  return static_cast<std::uint8_t>((control_ & 0x01) ? word & 0xFF : word >> 8);
}

void Instrument::onControl(std::uint8_t value) {
  const std::uint8_t before = control_;
  control_ = value;
  if (!config_.powered) return;
  const bool strobeBefore = before & 0x01, strobeNow = value & 0x01;
  if (value & 0x20) {
    // Data lines are inputs: nothing is latched; STROBE steps through the memory.
    if (strobeBefore && !strobeNow) readPointer_ = (readPointer_ + readStep_) % kMemSize;
    return;
  }

  const bool initBefore = before & 0x04, initNow = value & 0x04;
  if (!initBefore && initNow) latchedValue_ = data_;
  if (initBefore && !initNow) registerWrite(data_, latchedValue_);
  if (!strobeBefore && strobeNow) strobeFirst_ = data_;
  if (strobeBefore && !strobeNow) clock(strobeFirst_, data_);
}

void Instrument::registerWrite(int reg, int value) {
  function_ = reg & 0x3F;
  functionValue_ = value;
  functionReg_ = reg;
  levelFollows_ = configFollows_ = false;
  const int rateCode = value & 7;
  switch (function_) {
    case fn::Idle:
      if (value == 7) readPointer_ = 0;
      latchFollowers(reg, value);
      break;
    case fn::Start:
      if (rateCode != 0) startInstant(rateCode);
      break;
    case fn::Length:
      if (value == 128) loopLength_ = kMemSize - pulses_;
      break;
    case fn::Channels:
      if (value & 32) {
        configFollows_ = true;
      } else if (value == 7 || value == 0) {
        readPair_ = reg & 64 ? 1 : 0;
        readStep_ = value == 7 ? 4 : 1;
      }
      break;
    case fn::GenWrite:
      generator_.rewind();
      break;
    case fn::TriggeredStart:
      if (rateCode != 0) startTriggered(rateCode);
      break;
    case fn::StepPass:
      stepRegister(value);
      break;
    case fn::Output:
      outputRegister(value);
      break;
    default:
      break;
  }
  // While the generator output runs its register still takes the counter's set-up.
  if (function_ == fn::Output) latchFollowers(reg, value);
}

void Instrument::latchFollowers(int reg, int value) {
  if (value & 16) {
    trigger_.source = (value & 64 ? 2 : 0) + (reg & 64 ? 1 : 0);
    trigger_.negative = reg & 128;
    levelFollows_ = true;
  }
  if (value & 32) configFollows_ = true;
}

void Instrument::clock(int b1, int b2) {
  if (levelFollows_) {
    trigger_.level = (b1 & 0xFF) + 256 * (b2 & 0x0F);
    levelFollows_ = false;
    return;
  }
  if (configFollows_) {
    counterControl_ = b1;
    frontEnd_ = b2;
    configFollows_ = false;
    counter_.load(b1, b2, now(), function_ == fn::Output ? &generator_ : nullptr);
    return;
  }
  switch (function_) {
    case fn::Reset:  // sequencer reset: counts, addresses and the end flag
      pulses_ = 0;
      generator_.rewind();
      endFlag_ = false;
      running_ = false;
      break;
    case fn::LengthPulses:  // four points or one point each
      pulses_ += functionValue_ == 7 ? 4 : 1;
      break;
    case fn::GenWrite:  // generator memory stream: low nibble, then the high eight bits
      generator_.write((b1 & 0x0F) + 16 * b2);
      break;
    default:
      break;
  }
}

void Instrument::beginCapture(Ticks start, Ticks point) {
  capture_.start = start;
  capture_.point = point;
  capture_.length = loopLength_;
  capture_.end = start + loopLength_ * point;
  capture_.frontEnd = frontEnd_;
  capture_.stepped = false;
  ++capture_.id;
  running_ = true;
}

void Instrument::startInstant(int rateCode) {
  endFlag_ = false;
  running_ = false;
  beginCapture(now(), pointTicks(rateCode, config_.modelCode));
}

// The trigger is found by scanning the signals from now on; the capture then runs
// from the crossing. A source that never crosses leaves the instrument waiting.
void Instrument::startTriggered(int rateCode) {
  endFlag_ = false;
  running_ = false;
  const Ticks point = pointTicks(rateCode, config_.modelCode);
  const Ticks armed = now();
  trigger_.filtered = frontEnd_ & frontend::Filtered;
  const auto n = findTrigger(config_.inputs, frontEnd_, trigger_, armed, point, kMaxTriggerScan);
  if (n) beginCapture(armed + *n * point, point);
}

}  // namespace qvx::sim
