#pragma once
#include <string>

namespace qvx {

// The narrow seam between the ppdev backend and the kernel: the system calls the backend
// makes on a /dev/parportN node, and the owner group of a node for the permission
// message. Calls answer 0 (open: the descriptor) on success and -errno on failure, so a
// stand-in can answer like the kernel without touching errno.
class PpdevDriver {
 public:
  virtual ~PpdevDriver() = default;
  virtual int open(const std::string& path) = 0;
  virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual void close(int fd) = 0;
  // The name of the group that owns the node; empty when it cannot be told.
  virtual std::string groupOf(const std::string& path) = 0;
};

// The kernel itself: open(2), ioctl(2), close(2), stat(2) with getgrgid(3).
PpdevDriver& linuxPpdev();

}  // namespace qvx
