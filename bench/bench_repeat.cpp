// Repeat mode at 2K points and the fastest rate on the simulated instrument: captures
// drawn per second of real time, and the share of that time spent drawing (the
// renderer and the skin's painting) against capturing and reading out. The host's
// clock is virtual, so the instrument's waits cost no real time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>

#include "acquisition/timebase.h"
#include "control/startup.h"
#include "display/render.h"
#include "qt_app.h"
#include "repeating_window.h"
#include "ui/main_window.h"

namespace {

using namespace qvx;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

constexpr int kCaptures = 50;

// Each iteration is one press of GO that runs until kCaptures new pictures have been
// drawn and then stops the run from the event pump, as a second press of GO would.
void RepeatCaptures(benchmark::State& state) {
  bench::app();
  // At the natural size, as figures from before were taken.
  static bench::RepeatingWindow instrument(1, 4);
  Scope& s = instrument.rig.scope;
  ui::MainWindow& window = *instrument.window;
  window.setTraceReduction(state.range(0) != 0);

  int frames = 0;
  double skin = 0, total = 0, render = 0;
  std::uint64_t seen = s.panel.ScopeScreen.clears;
  instrument.rig.host.onPump = [&] {
    // The rig records every port access for tests; emptied here, its log keeps its
    // memory instead of growing through the run.
    instrument.rig.port.log.clear();
    if (s.panel.ScopeScreen.clears == seen) return;
    seen = s.panel.ScopeScreen.clears;
    const auto t = Clock::now();
    window.sync();
    skin += secondsSince(t);
    if (++frames == kCaptures) s.panel.GOBUTTON.click();
  };
  for (auto _ : state) {
    frames = 0;
    const auto t = Clock::now();
    s.panel.GOBUTTON.click();
    total += secondsSince(t);
    if (frames < kCaptures) {
      state.SkipWithError("the run stopped before its captures were drawn");
      break;
    }
    // The renderer runs inside each capture; time it alone on the last capture's data.
    const auto r = Clock::now();
    for (int k = 0; k < kCaptures; ++k) HScroll1_Change(s);
    render += secondsSince(r);
    window.sync();
  }
  instrument.rig.host.onPump = nullptr;

  const double captures = static_cast<double>(state.iterations()) * kCaptures;
  state.SetItemsProcessed(static_cast<std::int64_t>(captures));
  state.counters["capture_ms"] = 1000 * (total - skin - render) / captures;
  state.counters["render_ms"] = 1000 * render / captures;
  state.counters["skin_ms"] = 1000 * skin / captures;
  state.counters["draw_share"] = (skin + render) / total;
  state.SetLabel(state.range(0) ? "direct" : "every segment");
}
BENCHMARK(RepeatCaptures)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
