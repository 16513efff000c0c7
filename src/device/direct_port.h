#pragma once
#include <string>

#include "device/port.h"

namespace qvx {

// Direct port I/O on a Linux PC (x86): asks the kernel for access to the three port
// ranges and then uses in/out instructions. Without permission (not root, or not x86)
// it says so once and behaves as a port with nothing attached, so the program still
// starts and the port panel reports "NOT FOUND".
class DirectPort : public PortIO {
 public:
  DirectPort();
  void OutPort(std::uint32_t address, std::uint8_t value) override;
  std::uint8_t InPort(std::uint32_t address) override;
  void Shutdown() override;

  bool available() const { return granted_; }
  const std::string& problem() const { return problem_; }

 private:
  bool granted_ = false;
  std::string problem_;
};

}  // namespace qvx
