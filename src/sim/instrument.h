#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "core/port.h"
#include "sim/counter_unit.h"
#include "sim/generator_unit.h"
#include "sim/sampler.h"

namespace qvx::sim {

// What the simulated instrument is, as set by the command line.
struct Config {
  int lpt = 1;            // printer port it is plugged into, 1..3
  int modelCode = 1;      // 1: 20 MS/s instrument, 2: 30 MS/s instrument
  bool plugged = true;    // false: nothing on any port
  bool powered = true;    // false: answers the probe but fails the power test
  bool generator = true;  // generator option fitted
  bool channelB = true;   // channel B fitted
  Inputs inputs;          // the signals at the four input sockets
};

// The instrument on the far side of the port. It sees only the bytes the program
// writes and answers only through the status and data lines, keeping its own
// registers, memories and status, exactly as the hardware does.
class Instrument : public PortIO {
 public:
  // `clock` gives the host's monotonic time in whole nanoseconds; the instrument counts
  // its own time in exact ticks from it.
  Instrument(Config config, std::function<std::int64_t()> clock);
  // The generator input of the signals points at this instrument's own generator.
  Instrument(const Instrument&) = delete;
  Instrument& operator=(const Instrument&) = delete;

  void OutPort(std::uint32_t address, std::uint8_t value) override;
  std::uint8_t InPort(std::uint32_t address) override;

  const Config& config() const { return config_; }
  Config& config() { return config_; }

  // Inside views, for tests of the instrument itself.
  std::int32_t loopLength() const { return loopLength_; }
  const std::vector<std::uint16_t>& generatorMemory() const { return generator_.memory(); }
  std::int32_t generatorWrites() const { return generator_.writes(); }
  // The generator and its output over time (what the counter's comparator sees in
  // GENERATOR mode, and the gen inputs).
  const GeneratorUnit& generator() const { return generator_; }
  bool endFlag() const;
  int frontEndByte() const { return frontEnd_; }
  int counterControlByte() const { return counterControl_; }
  const TriggerCondition& triggerCondition() const { return trigger_; }
  const CounterUnit& counter() const { return counter_; }
  std::int32_t readPointer() const { return readPointer_; }
  // The two bytes of memory word `address` of a channel pair (0 A/C, 1 B/D).
  std::uint16_t memoryWord(int pair, std::int32_t address);

  // Samples scanned for a trigger before a start gives up.
  static constexpr std::int64_t kMaxTriggerScan = 4'000'000;

 private:
  std::uint32_t base() const;
  std::uint8_t probeMask() const;
  bool readDirection() const { return (control_ & 0x20) != 0; }
  bool capturing() const;

  void onControl(std::uint8_t value);
  // A register write (R, V) latched on the INIT line.
  void registerWrite(int reg, int value);
  // Value bits 16 and 32 of a register write: the trigger level, or the counter control
  // and front-end byte, come with the next clock.
  void latchFollowers(int reg, int value);
  // One clock on the STROBE line with the bytes on its two edges.
  void clock(int b1, int b2);

  void startInstant(int rateCode);
  void startTriggered(int rateCode);
  void beginCapture(Ticks start, Ticks point);
  std::uint8_t readoutByte();

  // Generator output control (registers 34 and 38) and the single stepped pass.
  void stepRegister(int value);
  void outputRegister(int value);
  void startSteppedPass(int rateCode);
  // When the sample stored at `address` was taken during a stepped pass.
  Ticks steppedSampleTime(std::int32_t address) const;
  Ticks now() const { return clock_() * kTicksPerNanosecond; }

  Config config_;
  std::function<std::int64_t()> clock_;

  std::uint8_t data_ = 0;
  std::uint8_t control_ = 0;
  int latchedValue_ = 0;
  int strobeFirst_ = 0;

  // The function the last register write selected: what the next clocks go to.
  int function_ = 0;
  int functionValue_ = 0;
  int functionReg_ = 0;
  bool levelFollows_ = false;   // the next clock carries the trigger level
  bool configFollows_ = false;  // the next clock carries counter control and front end

  // Sequencer and memories.
  std::int32_t pulses_ = 0;
  std::int32_t loopLength_ = 65536;
  bool endFlag_ = false;
  GeneratorUnit generator_;

  // Front end and trigger.
  int frontEnd_ = 0;
  int counterControl_ = 0;
  TriggerCondition trigger_;

  // The last capture: memory word k after the trigger point (k may be negative, the
  // points before it) is the sample at start + k x point. The memory is filled from the
  // signals only where it is read; `stamp_` marks which words belong to which capture.
  struct Capture {
    Ticks start = 0, point = 0, end = 0;
    std::int32_t length = 65536;
    int frontEnd = 0;
    std::uint32_t id = 0;
    // A stepped pass: sample i of generator point i lands `delay` words later.
    bool stepped = false;
    int delay = 0;
  };
  Capture capture_;
  bool running_ = false;  // a capture is started and its end not yet reached
  std::vector<std::uint16_t> memory_[2];
  std::vector<std::uint32_t> stamp_[2];

  // Readout.
  std::int32_t readPointer_ = 0;
  int readPair_ = 0;
  int readStep_ = 1;

  CounterUnit counter_{config_.inputs, trigger_};
};

}  // namespace qvx::sim
