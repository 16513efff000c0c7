#include "device/direct_port.h"

#include <cerrno>
#include <cstring>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define QVX_HAVE_PORT_IO 1
#endif

namespace qvx {

DirectPort::DirectPort() {
#ifdef QVX_HAVE_PORT_IO
  // The ECP registers lie above 3FFH, beyond what ioperm can grant, so the whole
  // I/O space is asked for.
  if (iopl(3) != 0) {
    problem_ = std::string("no access to the parallel port's I/O ports (") + std::strerror(errno) +
               "); --port=direct needs root on a PC with a parallel port; carrying on as if "
               "nothing answered";
    return;
  }
  granted_ = true;
#else
  problem_ = "direct port access needs Linux on an x86 PC";
#endif
}

void DirectPort::OutPort(std::uint32_t address, std::uint8_t value) {
#ifdef QVX_HAVE_PORT_IO
  if (granted_) outb(value, static_cast<unsigned short>(address));
#else
  (void)address;
  (void)value;
#endif
}

std::uint8_t DirectPort::InPort(std::uint32_t address) {
#ifdef QVX_HAVE_PORT_IO
  if (granted_) return inb(static_cast<unsigned short>(address));
#else
  (void)address;
#endif
  return 0xFF;
}

void DirectPort::Shutdown() {
#ifdef QVX_HAVE_PORT_IO
  if (!granted_) return;
  iopl(0);
  granted_ = false;
#endif
}

}  // namespace qvx
