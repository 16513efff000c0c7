// The program's own cost per port access through each real-port backend, measured on the
// readout of a 64K capture of both channel pairs (the longest stream of accesses the
// program makes), with the hardware taken out: the ppdev backend over a fake device that
// answers every call at once, and the direct backend over port instructions that do
// nothing. A real port access takes about 1 us (kPortAccessSeconds, a stated figure, not
// measured here); "%_of_1us_access" is the program's share of it, aimed at 2 % at most.
//
// For scale, BM_KernelCallFloor times one ioctl that the kernel refuses at once: the
// system call each ppdev access pays on top of the port access, outside the program.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "counted_scope.h"
#include "device/direct_port.h"
#include "device/link.h"
#include "device/ppdev_port.h"
#include "scripted_host.h"

namespace {

using namespace qvx;

constexpr double kPortAccessSeconds = 1e-6;

// A device that claims and answers every call at once; reads show 0x5A.
class InstantDevice : public PpdevDriver {
 public:
  int open(const std::string&) override { return 3; }
  int ioctl(int, unsigned long request, void* argument) override {
    if (request == PPRDATA || request == PPRSTATUS || request == PPRCONTROL)
      *static_cast<std::uint8_t*>(argument) = 0x5A;
    return 0;
  }
  void close(int) override {}
  std::string groupOf(const std::string&) override { return {}; }
};

class NoInstructions : public PortInstructions {
 public:
  int ioperm(unsigned long, unsigned long, bool) override { return 0; }
  int iopl(int) override { return 0; }
  void out(std::uint16_t, std::uint8_t) override {}
  std::uint8_t in(std::uint16_t) override { return 0x5A; }
};

void readout(benchmark::State& state, PortIO& backend) {
  testing::ScriptedHost host;
  bench::CountingPort port(&backend);
  Scope scope(host, port);
  initport(scope);
  port.accesses = 0;
  bench::readWholeCaptures(state, scope);
  const auto n = static_cast<double>(port.accesses);
  using benchmark::Counter;
  state.counters["s/access"] = Counter(n, Counter::kIsRate | Counter::kInvert);
  // elapsed / (n * 1 us) as a percentage.
  state.counters["%_of_1us_access"] =
      Counter(n * kPortAccessSeconds / 100, Counter::kIsRate | Counter::kInvert);
}

void BM_PpdevBackendOwnCost(benchmark::State& state) {
  InstantDevice device;
  PpdevPort port(device, "", {});
  readout(state, port);
}
BENCHMARK(BM_PpdevBackendOwnCost)->Unit(benchmark::kMillisecond);

void BM_DirectBackendOwnCost(benchmark::State& state) {
  NoInstructions instructions;
  DirectPort port(instructions);
  readout(state, port);
}
BENCHMARK(BM_DirectBackendOwnCost)->Unit(benchmark::kMillisecond);

void BM_KernelCallFloor(benchmark::State& state) {
  const int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  unsigned char status = 0;
  for (auto _ : state) benchmark::DoNotOptimize(::ioctl(fd, PPRSTATUS, &status));
  ::close(fd);
}
BENCHMARK(BM_KernelCallFloor);

}  // namespace

BENCHMARK_MAIN();
