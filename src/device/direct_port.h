#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/port.h"

namespace qvx {

// The processor's port instructions and the kernel calls that allow them, behind a seam
// so that the permissions asked for can be tested and the backend's own cost measured.
// The calls answer 0 on success and -errno on failure.
class PortInstructions {
 public:
  virtual ~PortInstructions() = default;
  virtual int ioperm(unsigned long from, unsigned long count, bool on) = 0;
  virtual int iopl(int level) = 0;
  virtual void out(std::uint16_t address, std::uint8_t value) = 0;
  virtual std::uint8_t in(std::uint16_t address) = 0;
};

// The machine's own: in/out after ioperm/iopl on Linux x86; elsewhere every permission
// call fails with ENOSYS.
PortInstructions& machinePortInstructions();

// Direct port I/O on a Linux PC (x86), needing root (CAP_SYS_RAWIO); the ppdev backend is
// the way without root. It asks the kernel for exactly the twelve registers the program
// can address (data, status, control and ECR of LPT1..3) and passes nothing else on.
// Without permission it says so once and behaves as a port with nothing attached, so the
// program still starts and the port panel reports "NOT FOUND".
class DirectPort : public PortIO {
 public:
  explicit DirectPort(PortInstructions& io = machinePortInstructions());
  void OutPort(std::uint32_t address, std::uint8_t value) override;
  std::uint8_t InPort(std::uint32_t address) override;
  void Shutdown() override;

  bool available() const { return granted_; }
  const std::string& problem() const { return problem_; }

 private:
  struct Range {
    unsigned long from, count;
  };
  PortInstructions& io_;
  bool granted_ = false;
  bool wholeSpace_ = false;  // iopl(3) was needed for the ECRs
  std::vector<Range> ranges_;
  std::string problem_;
};

}  // namespace qvx
