#pragma once
#include <functional>
#include <string>

#include "core/handling_state.h"
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

// What the window gives the print menu: a print of the whole window scaled to fit a page
// turned to landscape or portrait, a print of the signal display alone at a share of the
// page width, and a description of where prints go. Empty where there is no window.
struct PrintCalls {
  std::function<void(bool portrait)> window;
  std::function<void(double widthShare)> signalDisplay;
  std::function<std::string()> destination;
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
  PrintCalls printer;
  HandlingState handling;

  // Set once the main window has been unloaded; the program then ends.
  bool unloaded = false;
};

}  // namespace qvx
