#include "app/port_choice.h"

#include <cstdio>
#include <string>

#include "device/direct_port.h"
#include "device/ppdev_port.h"
#include "sim/instrument.h"

namespace qvx::app {

namespace {

void sayProblem(const std::string& message) {
  std::fprintf(stderr, "qvxscope: %s\n", message.c_str());
}

}  // namespace

std::unique_ptr<PortIO> openPort(const Options& options, std::function<std::int64_t()> clock) {
  switch (options.port) {
    case Options::Port::Direct: {
      auto direct = std::make_unique<DirectPort>();
      if (!direct->available()) sayProblem(direct->problem());
      return direct;
    }
    case Options::Port::Ppdev:
      return std::make_unique<PpdevPort>(linuxPpdev(), options.ppdevDevice, sayProblem);
    case Options::Port::Sim:
      break;
  }
  return std::make_unique<sim::Instrument>(options.sim, std::move(clock));
}

}  // namespace qvx::app
