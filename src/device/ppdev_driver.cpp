#include "device/ppdev_driver.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qvx {

namespace {

class LinuxPpdev : public PpdevDriver {
 public:
  int open(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
  }
  int ioctl(int fd, unsigned long request, void* argument) override {
    return ::ioctl(fd, request, argument) == 0 ? 0 : -errno;
  }
  void close(int fd) override { ::close(fd); }
  std::string groupOf(const std::string& path) override {
    struct stat node {};
    if (::stat(path.c_str(), &node) != 0) return {};
    const struct group* owner = ::getgrgid(node.st_gid);
    return owner ? owner->gr_name : std::to_string(node.st_gid);
  }
};

}  // namespace

PpdevDriver& linuxPpdev() {
  static LinuxPpdev driver;
  return driver;
}

}  // namespace qvx
