#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "core/port.h"
#include "device/ppdev_driver.h"

namespace qvx {

// The printer port through the kernel's ppdev driver (/dev/parportN): no root, only read
// and write access to the node (its group, usually lp). The program's register accesses
// at the legacy addresses of LPT1..3 are turned into the driver's calls; see the table in
// ppdev_port.cpp.
//
// The node is opened and claimed exclusively at the first access to a port's registers
// (initport at start-up) and kept until Shutdown. Without a device of its own, LPT n is
// /dev/parport(n-1), so the port panel and the port file choose the node; a switch to
// another LPT releases one node and claims the next. With a device of its own, every
// LPT's registers go to that node.
//
// A node that cannot be used is reported once, naming it and the remedy, and the port
// then behaves as one with nothing attached: writes vanish, reads show idle lines, and
// the probe finds no instrument. It never falls back to raw port I/O.
class PpdevPort : public PortIO {
 public:
  using Report = std::function<void(const std::string& message)>;

  PpdevPort(PpdevDriver& driver, std::string device, Report report);
  ~PpdevPort() override;
  PpdevPort(const PpdevPort&) = delete;
  PpdevPort& operator=(const PpdevPort&) = delete;

  void OutPort(std::uint32_t address, std::uint8_t value) override;
  std::uint8_t InPort(std::uint32_t address) override;
  void Shutdown() override;

  // The node in use or last tried, and whether it is claimed.
  const std::string& device() const { return node_; }
  bool claimed() const { return fd_ >= 0; }

  // "/dev/parport0" for LPT1.
  static std::string nodeForLpt(int lpt);

 private:
  enum class Register { Data, Status, Control, Ecr, None };

  // Which register of which port an address is, claiming that port's node if needed.
  Register decode(std::uint32_t address);
  void attach(const std::string& node);
  void detach();
  // One register call; a failure loses the port (reported) and answers false.
  bool call(unsigned long request, void* argument);
  bool setDirection(int reverse);
  void writeControl(std::uint8_t value);
  void fail(const std::string& problem);
  std::string openProblem(int error);
  std::string claimProblem(int error);

  PpdevDriver& driver_;
  std::string fixedDevice_;
  Report report_;
  std::uint32_t base_ = 0;  // legacy base address of the port in use; 0 before any access
  std::string node_;
  int fd_ = -1;
  int direction_ = -1;  // data direction as last set: 0 forward, 1 reverse, -1 not yet
  bool shut_ = false;
  std::map<std::string, std::string> lastReported_;  // per node, so a retry does not repeat
};

// The IEEE 1284 mode (linux/parport.h) for a value written to the extended control
// register, or -1 for a mode field no IEEE 1284 mode stands for.
int ieee1284ModeForEcr(std::uint8_t ecr);

}  // namespace qvx
