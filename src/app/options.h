#pragma once
#include <string>
#include <vector>

#include "sim/instrument.h"

namespace qvx::app {

// What the command line asks for.
struct Options {
  enum class Port { Sim, Direct };
  Port port = Port::Sim;
  sim::Config sim;         // the simulated instrument, when the port is simulated
  std::string screenshot;  // save the window to this PNG after start-up, then exit
  bool go = false;         // press GO once after start-up
  bool headless = false;   // no window and no display: the core on the console host
  std::string printTo;     // every print goes to this PDF file instead of the printer
  bool help = false;
};

// Reads the arguments after the program name. Returns false with `error` set for an
// unknown or malformed option.
bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// The text of --help.
std::string usage(const std::string& program);

}  // namespace qvx::app
