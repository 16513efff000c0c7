#pragma once
#include "control/host.h"
#include "control/state.h"
#include "device/port.h"
#include "panel/panel.h"

namespace qvx {

// The main window: the instrument state, the panel model, the platform host and the
// port. Every procedure of every subsystem takes it and works through it.
struct Scope : InstrumentState {
  Scope(Host& h, PortIO& p) : host(h), port(p) {}
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

  Host& host;
  PortIO& port;
  Panel panel;

  // Set once the main window has been unloaded; the program then ends.
  bool unloaded = false;
};

}  // namespace qvx
