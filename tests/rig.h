#pragma once
#include <memory>

#include "control/wiring.h"
#include "core/scope.h"
#include "device/recorder.h"
#include "scripted_host.h"
#include "sim/instrument.h"

namespace qvx::testing {

// A scope wired to the simulated instrument through a recording port, on a scripted
// host whose virtual clock is also the instrument's clock.
struct Rig {
  explicit Rig(sim::Config config = {})
      : instrument(config, [this] { return host.NowNanoseconds(); }),
        port(&instrument),
        scope(host, port) {
    host.panel = &scope.panel;
    installRunControl(scope);
  }
  ScriptedHost host;
  sim::Instrument instrument;
  RecordingPort port;
  Scope scope;
};

}  // namespace qvx::testing
