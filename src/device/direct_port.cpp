#include "device/direct_port.h"

#include <cerrno>
#include <cstring>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define QVX_HAVE_PORT_IO 1
#endif

namespace qvx {

namespace {

constexpr std::uint32_t kLptBase[] = {0x378, 0x278, 0x3BC};
constexpr std::uint32_t kEcrOffset = 0x402;

bool isPortRegister(std::uint32_t address) {
  for (std::uint32_t base : kLptBase) {
    const std::uint32_t offset = address - base;
    if (offset <= 2 || offset == kEcrOffset) return true;
  }
  return false;
}

class MachineInstructions : public PortInstructions {
 public:
#ifdef QVX_HAVE_PORT_IO
  int ioperm(unsigned long from, unsigned long count, bool on) override {
    return ::ioperm(from, count, on ? 1 : 0) == 0 ? 0 : -errno;
  }
  int iopl(int level) override {
    return ::iopl(level) == 0 ? 0 : -errno;
  }
  void out(std::uint16_t address, std::uint8_t value) override {
    outb(value, address);
  }
  std::uint8_t in(std::uint16_t address) override {
    return inb(address);
  }
#else
  int ioperm(unsigned long, unsigned long, bool) override {
    return -ENOSYS;
  }
  int iopl(int) override {
    return -ENOSYS;
  }
  void out(std::uint16_t, std::uint8_t) override {}
  std::uint8_t in(std::uint16_t) override {
    return 0xFF;
  }
#endif
};

}  // namespace

PortInstructions& machinePortInstructions() {
  static MachineInstructions instructions;
  return instructions;
}

// The permissions: each port's data, status and control registers (base..base+2) and its
// ECR (base+402H) through ioperm, which grants single ports rather than the whole I/O
// space. The ECRs lie above 3FFH; kernels before 2.6.8 refused ioperm there (EINVAL), and
// only on such a kernel is iopl(3) asked for, as the one way left to reach them. The
// registers below 400H keep their exact grant either way.
DirectPort::DirectPort(PortInstructions& io) : io_(io) {
  int error = 0;
  for (std::uint32_t base : kLptBase) {
    for (Range r : {Range{base, 3}, Range{base + kEcrOffset, 1}}) {
      error = io_.ioperm(r.from, r.count, true);
      if (error == 0) {
        ranges_.push_back(r);
        continue;
      }
      if (error == -EINVAL && r.from > 0x3FF) {
        error = wholeSpace_ ? 0 : io_.iopl(3);
        if (error == 0) {
          wholeSpace_ = true;
          continue;
        }
      }
      break;
    }
    if (error != 0) break;
  }
  if (error == 0) {
    granted_ = true;
    return;
  }
  Shutdown();
  problem_ = error == -ENOSYS ? std::string("direct port access needs Linux on an x86 PC")
                              : std::string("no access to the parallel port's I/O ports (") +
                                    std::strerror(-error) + "); --port=direct needs root";
  problem_ +=
      "; --port=ppdev reaches the port without root through the kernel's ppdev driver; "
      "carrying on as if nothing answered";
}

// Only the granted registers reach the instructions: any other port would fault.
void DirectPort::OutPort(std::uint32_t address, std::uint8_t value) {
  if (granted_ && isPortRegister(address)) io_.out(static_cast<std::uint16_t>(address), value);
}

std::uint8_t DirectPort::InPort(std::uint32_t address) {
  if (granted_ && isPortRegister(address)) return io_.in(static_cast<std::uint16_t>(address));
  return 0xFF;
}

void DirectPort::Shutdown() {
  for (const Range& r : ranges_) io_.ioperm(r.from, r.count, false);
  ranges_.clear();
  if (wholeSpace_) io_.iopl(0);
  wholeSpace_ = false;
  granted_ = false;
}

}  // namespace qvx
