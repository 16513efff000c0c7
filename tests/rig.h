#pragma once
#include <functional>
#include <memory>

#include "control/wiring.h"
#include "core/scope.h"
#include "device/recorder.h"
#include "scripted_host.h"
#include "sim/instrument.h"

namespace qvx::testing {

// A scope wired to the simulated instrument through a recording port, on a scripted
// host whose virtual clock is also the instrument's clock. `between`, when given, builds
// a port backend that the recorded conversation passes through on its way to the
// instrument.
struct Rig {
  using Backend = std::function<std::unique_ptr<PortIO>(PortIO& instrument)>;
  explicit Rig(sim::Config config = {}, const Backend& between = {})
      : instrument(config, [this] { return host.NowNanoseconds(); }),
        backend(between ? between(instrument) : nullptr),
        port(backend ? backend.get() : &instrument),
        scope(host, port) {
    host.panel = &scope.panel;
    installRunControl(scope);
  }
  ScriptedHost host;
  sim::Instrument instrument;
  std::unique_ptr<PortIO> backend;
  RecordingPort port;
  Scope scope;
};

}  // namespace qvx::testing
