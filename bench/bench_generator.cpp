// The generator's heavy paths. The upload of a 64K-point table is a chain of port
// accesses: the program's own cost per access, against a backend that only counts, is
// to be compared with the ~1 us a real port access takes. Building the largest tables
// (NORMAL at 20 Hz, every SWEEP) must stay well under a frame, since UPDATE and the
// held frequency buttons rebuild it. A SCOPE+GEN pass at 64K points runs once against
// a backend that answers at once (the program alone) and once against the simulated
// instrument; the difference is the instrument's share.
#include <benchmark/benchmark.h>

#include <fstream>

#include "control/startup.h"
#include "counted_scope.h"
#include "device/link.h"
#include "generator/generator.h"
#include "rig.h"
#include "scripted_host.h"

namespace {

using namespace qvx;

using bench::CountingPort;
using bench::perAccess;

void fullTable(Scope& s) {
  for (int i = 0; i < 65536; ++i) s.GenTable[i] = static_cast<std::int16_t>((i * 7) & 0xFFF);
  s.DacLastIndex = 65535;
}

void BM_Upload64KCountingPort(benchmark::State& state) {
  bench::CountedScope b(0x08);  // alone it shows the end of a pass at once
  fullTable(b.scope);
  for (auto _ : state) DACWRITE(b.scope);
  perAccess(state, static_cast<double>(b.port.accesses));
  state.counters["accesses/upload"] =
      static_cast<double>(b.port.accesses) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Upload64KCountingPort)->Unit(benchmark::kMillisecond);

void BM_Upload64KSimulatedInstrument(benchmark::State& state) {
  bench::CountedInstrument b;
  fullTable(b.scope);
  b.port.accesses = 0;
  for (auto _ : state) DACWRITE(b.scope);
  perAccess(state, static_cast<double>(b.port.accesses));
}
BENCHMARK(BM_Upload64KSimulatedInstrument)->Unit(benchmark::kMillisecond);

// A started scope in GENERATOR mode, as the UPDATE button finds it.
struct StartedScope {
  StartedScope() {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    Form_Load(s);
    Form_Activate(s);
    s.panel.SmodeUP.click();
  }
  testing::TempFolder folder;
  testing::Rig rig;
  Scope& s = rig.scope;
};

// Arguments: mode (0 NORMAL at 20 Hz, 1 SWEEP), the sweep start step, the ratio, and
// 15 for the 30 MS/s model's mantissa of 1.5.
void BM_BuildTable(benchmark::State& state) {
  StartedScope started;
  Scope& s = started.s;
  s.RateMantissa = state.range(3) == 15 ? 1.5f : 1.0f;
  s.GenMode = static_cast<int>(state.range(0));
  s.GenSweepStart = static_cast<int>(state.range(1));
  s.GenSweepRatio = static_cast<int>(state.range(2));
  for (auto _ : state) {
    s.GenFreq = 20;
    GENUPDATEBUTTON_Click(s);
    benchmark::DoNotOptimize(s.GenTable[1000]);
  }
  state.counters["points"] = s.GenLastIndex + 1;
}
BENCHMARK(BM_BuildTable)
    ->Args({0, 0, 0, 10})
    ->Args({0, 0, 0, 15})
    ->Args({1, 0, 3, 10})
    ->Args({1, 1, 2, 10})
    ->Args({1, 8, 3, 15})
    ->Unit(benchmark::kMillisecond);

// The same build without the redraw it ends with: the synthesis alone.
void BM_SynthesisOnly(benchmark::State& state) {
  testing::ScriptedHost host;
  NullPort port;
  Scope s(host, port);
  s.GenMode = static_cast<int>(state.range(0));
  s.GenSweepStart = 0;
  s.GenSweepRatio = 3;
  s.RateMantissa = 1.5f;
  s.SelE = 0;  // no redraw
  for (auto _ : state) {
    s.GenFreq = 20;
    GENUPDATEBUTTON_Click(s);
    benchmark::DoNotOptimize(s.GenTable[1000]);
  }
  state.counters["points"] = s.GenLastIndex + 1;
}
BENCHMARK(BM_SynthesisOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One SCOPE+GEN pass of 64K points at the fastest rate, all four channels on.
void scopeGenPass(benchmark::State& state, PortIO* instrument, testing::ScriptedHost& host) {
  CountingPort port(instrument);
  Scope s(host, port);
  initport(s);
  fullTable(s);
  s.RateCode = 1;
  s.StepPreDelay = 1;
  std::int64_t accesses = 0;
  for (auto _ : state) {
    s.RunFlag = 1;
    s.CaptureDone = 0;
    port.accesses = 0;
    DACADC(s);
    accesses += port.accesses;
    if (s.CaptureDone != 1) state.SkipWithError("the pass did not end");
    benchmark::DoNotOptimize(s.BufA[1000]);
  }
  perAccess(state, static_cast<double>(accesses));
}

void BM_ScopeGenPass64KProgramOnly(benchmark::State& state) {
  testing::ScriptedHost host;
  scopeGenPass(state, nullptr, host);
}
BENCHMARK(BM_ScopeGenPass64KProgramOnly)->Unit(benchmark::kMillisecond);

void BM_ScopeGenPass64KSimulatedInstrument(benchmark::State& state) {
  testing::ScriptedHost host;
  sim::Config config;
  config.inputs.a.shape = sim::AnalogSignal::Shape::Generator;
  config.inputs.b.shape = sim::AnalogSignal::Shape::Generator;
  config.inputs.b.load = {sim::Load::Kind::LowPass, 1600, 0, 1e-7};
  sim::Instrument instrument(config, [&host] { return std::llround(host.clock * 1e9); });
  scopeGenPass(state, &instrument, host);
}
BENCHMARK(BM_ScopeGenPass64KSimulatedInstrument)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
