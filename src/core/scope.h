#pragma once
#include "core/host.h"
#include "core/state.h"
#include "device/port.h"
#include "panel/panel.h"

namespace qvx {

struct Scope;

// The run-control procedures the subsystems call back into: the mode display after a
// channel is switched on or off, the mode check after settings are loaded, one run for
// the command file. Run control installs them when the window is wired; the subsystems
// never include run control itself.
struct RunControlCalls {
  void (*showMode)(Scope&) = nullptr;
  void (*checkMode)(Scope&) = nullptr;
  void (*go)(Scope&) = nullptr;
};

// The main window: the instrument state, the panel model, the platform host and the
// port. Every procedure of every subsystem takes it and works through it.
struct Scope : InstrumentState {
  Scope(Host& h, PortIO& p) : host(h), port(p) {}
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

  Host& host;
  PortIO& port;
  Panel panel;
  RunControlCalls runControl;

  // Set once the main window has been unloaded; the program then ends.
  bool unloaded = false;
};

}  // namespace qvx
