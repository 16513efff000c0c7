#pragma once
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/port.h"
#include "device/ppdev_driver.h"

namespace qvx::testing {

// A stand-in for the kernel's ppdev driver. Each node is a parallel port whose registers
// are wired, at a legacy base address, to a PortIO on the far side of the cable (the
// simulated instrument, usually through a recorder). It keeps the port's control register
// as the PC's port does, with the data direction in bit 5: PPDATADIR and PPWCONTROL each
// write the whole register, as the kernel's PC-port driver does. PPSETMODE touches no
// register. Register calls before PPCLAIM fail with EINVAL, as ppdev's do.
class FakeParport : public PpdevDriver {
 public:
  struct Node {
    std::uint32_t base = 0x378;
    int openError = 0;   // errno open() answers, 0 to open
    int claimError = 0;  // errno PPEXCL answers (ENOTTY: not a parallel port)
    std::string group = "lp";
  };
  struct Call {
    std::string node;
    unsigned long request;
    int value;  // the byte or int passed or returned; 0 for the bare calls
    bool operator==(const Call&) const = default;
  };

  explicit FakeParport(PortIO& wire) : wire_(wire) {}

  std::map<std::string, Node> nodes;
  std::vector<Call> calls;  // every ioctl in order, with the node it was made on
  std::vector<int> modes;   // the IEEE 1284 modes set, in order
  int opens = 0, closes = 0;
  int failAfter = -1;  // register calls left before the node vanishes (ENODEV); -1 never

  int open(const std::string& path) override {
    auto found = nodes.find(path);
    if (found == nodes.end()) return -ENOENT;
    if (found->second.openError != 0) return -found->second.openError;
    ++opens;
    const int fd = nextFd_++;
    open_[fd] = {path, false};
    return fd;
  }

  int ioctl(int fd, unsigned long request, void* argument) override {
    auto found = open_.find(fd);
    if (found == open_.end()) return -EBADF;
    Open& o = found->second;
    const Node& node = nodes.at(o.path);
    auto byte = [argument] { return static_cast<int>(*static_cast<std::uint8_t*>(argument)); };
    auto integer = [argument] { return *static_cast<int*>(argument); };
    switch (request) {
      case PPEXCL:
        calls.push_back({o.path, request, 0});
        return -node.claimError;
      case PPCLAIM:
        calls.push_back({o.path, request, 0});
        o.claimed = true;
        return 0;
      case PPRELEASE:
        calls.push_back({o.path, request, 0});
        o.claimed = false;
        return 0;
      default:
        break;
    }
    if (!o.claimed) return -EINVAL;
    if (failAfter == 0) return -ENODEV;
    if (failAfter > 0) --failAfter;
    switch (request) {
      case PPWDATA:
        calls.push_back({o.path, request, byte()});
        wire_.OutPort(node.base, static_cast<std::uint8_t>(byte()));
        return 0;
      case PPWCONTROL:
        calls.push_back({o.path, request, byte()});
        lines_ = static_cast<std::uint8_t>(byte() & 0x1F);
        writeControl(node);
        return 0;
      case PPDATADIR:
        calls.push_back({o.path, request, integer()});
        reverse_ = integer() != 0;
        writeControl(node);
        return 0;
      case PPSETMODE:
        calls.push_back({o.path, request, integer()});
        modes.push_back(integer());
        return 0;
      case PPRDATA:
        *static_cast<std::uint8_t*>(argument) = wire_.InPort(node.base);
        calls.push_back({o.path, request, byte()});
        return 0;
      case PPRSTATUS:
        *static_cast<std::uint8_t*>(argument) = wire_.InPort(node.base + 1);
        calls.push_back({o.path, request, byte()});
        return 0;
      case PPRCONTROL:
        // The PC-port driver shows only the four control lines.
        *static_cast<std::uint8_t*>(argument) = lines_ & 0x0F;
        calls.push_back({o.path, request, byte()});
        return 0;
      default:
        return -ENOTTY;
    }
  }

  void close(int fd) override {
    if (open_.erase(fd)) ++closes;
  }

  std::string groupOf(const std::string& path) override {
    auto found = nodes.find(path);
    return found == nodes.end() ? "" : found->second.group;
  }

  bool anyOpen() const { return !open_.empty(); }

 private:
  struct Open {
    std::string path;
    bool claimed;
  };
  void writeControl(const Node& node) {
    wire_.OutPort(node.base + 2, static_cast<std::uint8_t>(lines_ | (reverse_ ? 0x20 : 0)));
  }

  PortIO& wire_;
  std::map<int, Open> open_;
  int nextFd_ = 3;
  std::uint8_t lines_ = 0;
  bool reverse_ = false;
};

}  // namespace qvx::testing
