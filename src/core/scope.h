#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/handling_state.h"
#include "core/host.h"
#include "core/port.h"
#include "core/state.h"
#include "panel/panel.h"

namespace qvx {

struct Scope;
namespace bode {
struct View;
}

// The procedures of higher rooms that a subsystem calls back into: the mode display after a
// channel is switched on or off, the mode check after settings are loaded, one run for
// the command file, the measurement after the trigger source changed (the display's, called
// by the trigger settings), and the custom-wave form of the load panel (the files', opened
// by the generator's UPDATE). Run control installs them when the window is wired, so no
// subsystem includes run control, nor one that includes it back.
struct RunControlCalls {
  void (*showMode)(Scope&) = nullptr;
  void (*checkMode)(Scope&) = nullptr;
  void (*go)(Scope&) = nullptr;
  void (*measure)(Scope&) = nullptr;
  bool (*customWaveForm)(Scope&) = nullptr;
};

// What the window gives the print menu: a print of the whole window scaled to fit a page
// turned to landscape or portrait, a print of the signal display alone at a share of the
// page width, a description of where prints go, and whether that is a file chosen when the
// program was started. Empty where there is no window.
struct PrintCalls {
  std::function<void(bool portrait)> window;
  std::function<void(double widthShare)> signalDisplay;
  std::function<std::string()> destination;
  bool toChosenFile = false;
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
  // What the extras around the window draw after every redraw of the signal display
  // (the measurements panel and its second cursor); none while no extra is wired.
  std::vector<void (*)(Scope&)> afterRedraw;
  HandlingState handling;
  // The Bode view's plan, response and readouts (bode/view_state.h), made when the window
  // is wired; held by its owner's type alone so the shared ground needs nothing of it.
  std::shared_ptr<bode::View> bodeView;

  // Set once the main window has been unloaded; the program then ends.
  bool unloaded = false;
};

}  // namespace qvx
