#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "device/port.h"

namespace qvx::sim {

// What the simulated instrument is, as set by the command line.
struct Config {
  int lpt = 1;               // printer port it is plugged into, 1..3
  int modelCode = 1;         // 1: 20 MS/s instrument, 2: 30 MS/s instrument
  bool plugged = true;       // false: nothing on any port
  bool powered = true;       // false: answers the probe but fails the power test
  bool generator = true;     // generator option fitted
  bool channelB = true;      // channel B fitted
};

// The instrument on the far side of the port. It sees only the bytes the program
// writes and answers only through the status and data lines, keeping its own
// registers, memories and status, exactly as the hardware does.
class Instrument : public PortIO {
 public:
  // `clock` gives the instrument's time in seconds.
  Instrument(Config config, std::function<double()> clock);

  void OutPort(std::uint32_t address, std::uint8_t value) override;
  std::uint8_t InPort(std::uint32_t address) override;

  const Config& config() const { return config_; }

  // Inside views, for tests of the instrument itself.
  std::int32_t loopLength() const { return loopLength_; }
  const std::vector<std::uint16_t>& generatorMemory() const { return genMemory_; }
  std::int32_t generatorWrites() const { return genWrites_; }
  bool endFlag() const { return endFlag_; }

 private:
  std::uint32_t base() const;
  std::uint8_t probeMask() const;
  bool readDirection() const { return (control_ & 0x20) != 0; }

  void onControl(std::uint8_t value);
  // A register write (R, V) latched on the INIT line.
  void registerWrite(int reg, int value);
  // One clock on the STROBE line with the bytes on its two edges.
  void clock(int b1, int b2);

  Config config_;
  std::function<double()> clock_;

  std::uint8_t data_ = 0;
  std::uint8_t control_ = 0;
  int latchedValue_ = 0;
  int strobeFirst_ = 0;

  // The function the last register write selected: what the next clocks go to.
  int function_ = 0;
  int functionValue_ = 0;
  int functionReg_ = 0;

  // Sequencer and memories.
  std::int32_t pulses_ = 0;
  std::int32_t loopLength_ = 65536;
  bool endFlag_ = false;
  std::vector<std::uint16_t> genMemory_;
  std::int32_t genAddress_ = 0;
  std::int32_t genWrites_ = 0;
};

}  // namespace qvx::sim
