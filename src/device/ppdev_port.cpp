#include "device/ppdev_port.h"

#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace qvx {

// How the program's register accesses become ppdev calls:
//
// | program's access                | ppdev call                                             |
// |---------------------------------|--------------------------------------------------------|
// | first access to a port          | open(O_RDWR), PPEXCL, PPCLAIM (exclusive: no other      |
// |                                 | driver, such as lp, may share the port meanwhile)      |
// | data ← v        (base)          | PPWDATA v                                              |
// | data → v        (base)          | PPRDATA                                                |
// | status → v      (base + 1)      | PPRSTATUS (a status write has no call: dropped)        |
// | control ← v     (base + 2)      | PPWCONTROL v without bit 5; bit 5, the data direction, |
// |                                 | goes through PPDATADIR (1 = reverse, data lines are    |
// |                                 | inputs) when it changes, always before PPWCONTROL      |
// |                                 | (see writeControl)                                     |
// | control → v     (base + 2)      | PPRCONTROL, with bit 5 from the direction last set     |
// | ECR ← v         (base + 402H)   | PPSETMODE with the IEEE 1284 mode of the ECR's mode    |
// |                                 | field (bits 7..5), below; other ECR bits are the       |
// |                                 | driver's own (interrupts, DMA) and are not passed on   |
// | ECR → v         (base + 402H)   | no call: the driver does not show the ECR; reads FFH   |
// | Shutdown at exit                | PPRELEASE, close                                       |
//
// ECR mode field → IEEE 1284 mode (PPSETMODE):
//
// | ECR bits 7..5 | port mode                         | IEEE 1284 mode        |
// |---------------|-----------------------------------|-----------------------|
// | 000           | standard (SPP), output only       | IEEE1284_MODE_COMPAT  |
// | 001 (20H)     | PS/2 byte mode, data lines read   | IEEE1284_MODE_BYTE    |
// | 010           | parallel-port FIFO (compatible)   | IEEE1284_MODE_COMPAT  |
// | 011           | ECP FIFO                          | IEEE1284_MODE_ECP     |
// | 100           | EPP                               | IEEE1284_MODE_EPP     |
// | 101, 110, 111 | reserved, FIFO test, configuration| none: write dropped   |
//
// The program only ever writes 20H, byte mode. The kernel's PC-port driver already puts
// an ECP port into its PS/2 mode while the port is claimed, which is what makes
// PPDATADIR work; PPSETMODE records the same choice with ppdev.

namespace {

constexpr std::uint32_t kLptBase[] = {0x378, 0x278, 0x3BC};
constexpr std::uint32_t kEcrOffset = 0x402;
constexpr std::uint8_t kDirectionBit = 0x20;

bool isRegisterOffset(std::uint32_t offset) {
  return offset <= 2 || offset == kEcrOffset;
}

const char kCarryOn[] = "; carrying on as if nothing answered";

}  // namespace

int ieee1284ModeForEcr(std::uint8_t ecr) {
  switch (ecr >> 5) {
    case 0:
      return IEEE1284_MODE_COMPAT;
    case 1:
      return IEEE1284_MODE_BYTE;
    case 2:
      return IEEE1284_MODE_COMPAT;
    case 3:
      return IEEE1284_MODE_ECP;
    case 4:
      return IEEE1284_MODE_EPP;
    default:
      return -1;
  }
}

std::string PpdevPort::nodeForLpt(int lpt) {
  return "/dev/parport" + std::to_string(lpt - 1);
}

PpdevPort::PpdevPort(PpdevDriver& driver, std::string device, Report report)
    : driver_(driver), fixedDevice_(std::move(device)), report_(std::move(report)) {}

PpdevPort::~PpdevPort() {
  Shutdown();
}

PpdevPort::Register PpdevPort::decode(std::uint32_t address) {
  if (shut_) return Register::None;
  std::uint32_t offset = address - base_;
  if (base_ == 0 || !isRegisterOffset(offset)) {
    int lpt = 0;
    for (int n = 1; n <= 3 && lpt == 0; ++n)
      if (isRegisterOffset(address - kLptBase[n - 1])) lpt = n;
    if (lpt == 0) return Register::None;
    base_ = kLptBase[lpt - 1];
    offset = address - base_;
    const std::string node = fixedDevice_.empty() ? nodeForLpt(lpt) : fixedDevice_;
    if (node != node_) {
      detach();
      attach(node);
    }
  }
  switch (offset) {
    case 0:
      return Register::Data;
    case 1:
      return Register::Status;
    case 2:
      return Register::Control;
    default:
      return Register::Ecr;
  }
}

void PpdevPort::attach(const std::string& node) {
  node_ = node;
  direction_ = -1;
  const int fd = driver_.open(node);
  if (fd < 0) {
    fail(openProblem(-fd));
    return;
  }
  int result = driver_.ioctl(fd, PPEXCL, nullptr);
  if (result == 0) result = driver_.ioctl(fd, PPCLAIM, nullptr);
  if (result != 0) {
    driver_.close(fd);
    fail(claimProblem(-result));
    return;
  }
  fd_ = fd;
}

void PpdevPort::detach() {
  if (fd_ < 0) return;
  driver_.ioctl(fd_, PPRELEASE, nullptr);
  driver_.close(fd_);
  fd_ = -1;
}

void PpdevPort::fail(const std::string& problem) {
  std::string& last = lastReported_[node_];
  if (problem == last) return;
  last = problem;
  if (report_) report_(problem + kCarryOn);
}

std::string PpdevPort::openProblem(int error) {
  switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return node_ +
             " is not there: the kernel's parallel port drivers are not loaded (load them "
             "with 'sudo modprobe -a parport_pc ppdev') or the PC has no such port";
    case EACCES:
    case EPERM: {
      const std::string group = driver_.groupOf(node_);
      if (group.empty())
        return "no permission to open " + node_ + ": ask for read and write access";
      return "no permission to open " + node_ + ": it belongs to group '" + group +
             "'; add yourself to that group ('sudo usermod -aG " + group +
             " $USER') and log in again";
    }
    default:
      return "cannot open " + node_ + " (" + std::strerror(error) + ")";
  }
}

std::string PpdevPort::claimProblem(int error) {
  switch (error) {
    case EBUSY:
      return node_ +
             " is busy: another driver holds the port, such as the printer driver lp "
             "(unload it with 'sudo rmmod lp'), or another program uses it";
    case ENXIO:
      // ppdev answers so both when another driver is registered on the port, which
      // forbids exclusive use, and when no port stands behind the node.
      return "no exclusive use of " + node_ +
             ": another driver is registered on the port, such as the printer driver lp "
             "(unload it with 'sudo rmmod lp'), or no parallel port stands behind the node";
    case ENOTTY:
    case EINVAL:
      return node_ +
             " is not a parallel port device: name a ppdev node, as in "
             "--port=ppdev:/dev/parport0";
    default:
      return "cannot claim " + node_ + " (" + std::strerror(error) + ")";
  }
}

bool PpdevPort::call(unsigned long request, void* argument) {
  const int result = driver_.ioctl(fd_, request, argument);
  if (result == 0) return true;
  detach();
  fail("lost " + node_ + " (" + std::strerror(-result) + ")");
  return false;
}

bool PpdevPort::setDirection(int reverse) {
  if (!call(PPDATADIR, &reverse)) return false;
  direction_ = reverse;
  return true;
}

// One register write of the direct port becomes two calls when the direction changes,
// and the direction goes first both ways. Turning to inputs, the port lets go of the data
// lines before the control lines ask the instrument to drive them. Turning back, the
// control write may carry the edge on which the instrument latches the data byte (22H to
// 04H starts a register write), so the port must drive that byte before the edge.
void PpdevPort::writeControl(std::uint8_t value) {
  const int reverse = (value & kDirectionBit) ? 1 : 0;
  std::uint8_t lines = value & ~kDirectionBit;
  if (reverse != direction_ && !setDirection(reverse)) return;
  call(PPWCONTROL, &lines);
}

void PpdevPort::OutPort(std::uint32_t address, std::uint8_t value) {
  const Register reg = decode(address);
  if (fd_ < 0) return;
  switch (reg) {
    case Register::Data:
      call(PPWDATA, &value);
      break;
    case Register::Control:
      writeControl(value);
      break;
    case Register::Ecr: {
      int mode = ieee1284ModeForEcr(value);
      if (mode >= 0) call(PPSETMODE, &mode);
      break;
    }
    case Register::Status:
    case Register::None:
      break;
  }
}

std::uint8_t PpdevPort::InPort(std::uint32_t address) {
  const Register reg = decode(address);
  if (fd_ < 0) return 0xFF;
  std::uint8_t value = 0xFF;
  switch (reg) {
    case Register::Data:
      return call(PPRDATA, &value) ? value : 0xFF;
    case Register::Status:
      return call(PPRSTATUS, &value) ? value : 0xFF;
    case Register::Control:
      if (!call(PPRCONTROL, &value)) return 0xFF;
      return direction_ == 1 ? value | kDirectionBit : value & ~kDirectionBit;
    case Register::Ecr:
    case Register::None:
      return 0xFF;
  }
  return 0xFF;
}

void PpdevPort::Shutdown() {
  detach();
  shut_ = true;
}

}  // namespace qvx
