// The counter loop's own cost. While it waits for an input that never comes it polls
// the instrument every 10 ms: CPU time per second of wall-clock time, in real time on
// the simulated instrument (its port traffic included, the skin's painting not). Then the
// CPU time of one completed frequency reading on a virtual clock, and the simulated
// instrument's closed-form count of a one-second gate on a 20 MHz clock.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "counter/counter.h"
#include "device/link.h"
#include "rig.h"
#include "sim/counter_unit.h"

namespace {

using namespace qvx;
using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// A host on the real clock that ends the run after `seconds` of wall-clock time.
class RealTimeHost : public Host {
 public:
  int* runFlag = nullptr;
  Clock::time_point until;
  void DoEvents() override {
    if (Clock::now() >= until) *runFlag = 0;
  }
  void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  double Now() override {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
  }
  double TimeOfDay() override { return 0; }
  int MsgBox(const std::string&, int, const std::string&) override { return mb::AnswerOK; }
  bool FileExists(const std::string&) override { return false; }
};

void CounterPollingWithoutInput(benchmark::State& state) {
  RealTimeHost host;
  sim::Config config;
  config.inputs.c = {0, 0};  // nothing at C: the gate never closes
  sim::Instrument instrument(config, [&host] { return host.NowNanoseconds(); });
  Scope s(host, instrument);
  host.runFlag = &s.RunFlag;
  initport(s);
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpuStart = processCpuSeconds();
    host.until = start + std::chrono::seconds(1);
    s.RunFlag = 1;
    FCntMain(s);
    cpu += processCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["cpu_percent_of_a_core"] = 100 * cpu / wall;
}
BENCHMARK(CounterPollingWithoutInput)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each iteration measures one one-second gate of the 5 kHz clock at C and shows it.
void CounterReading(benchmark::State& state) {
  testing::Rig rig;
  Scope& s = rig.scope;
  initport(s);
  int target = 0;
  rig.host.onPump = [&] {
    if (s.FCntReadings >= target) s.RunFlag = 0;
  };
  for (auto _ : state) {
    rig.port.log.clear();
    target = 1;
    s.RunFlag = 1;
    FCntMain(s);
  }
  if (s.FCntValue != 5000) state.SkipWithError("wrong reading");
}
BENCHMARK(CounterReading)->Unit(benchmark::kMicrosecond);

void SimulatedGateOnTwentyMegahertz(benchmark::State& state) {
  sim::Inputs in;
  in.c = {20e6, 50};
  sim::TriggerCondition comparator;
  sim::CounterUnit counter(in, comparator);
  sim::Ticks t = 1000 * sim::kTicksPerSecond;
  for (auto _ : state) {
    counter.load(128 + 12, 160, t);
    counter.load(128 + 12, 32, t);
    benchmark::DoNotOptimize(counter.dataLines(t + sim::kTicksPerSecond * 3 / 2));
    t += 2 * sim::kTicksPerSecond;
  }
  if (counter.count(t) != 20'000'000) state.SkipWithError("wrong count");
}
BENCHMARK(SimulatedGateOnTwentyMegahertz);

}  // namespace

BENCHMARK_MAIN();
