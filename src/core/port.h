#pragma once
#include <cstdint>

namespace qvx {

// The only way the program reaches the instrument: single bytes to and from I/O
// addresses of the parallel port.
class PortIO {
 public:
  virtual ~PortIO() = default;
  virtual void OutPort(std::uint32_t address, std::uint8_t value) = 0;
  virtual std::uint8_t InPort(std::uint32_t address) = 0;
  // Releases whatever the backend holds; called once when the main window unloads.
  virtual void Shutdown() {}
};

// A port with nothing attached: writes vanish, reads show idle lines.
class NullPort : public PortIO {
 public:
  void OutPort(std::uint32_t, std::uint8_t) override {}
  std::uint8_t InPort(std::uint32_t) override { return 0xFF; }
};

}  // namespace qvx
