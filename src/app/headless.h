#pragma once
#include "app/options.h"

namespace qvx::app {

// Runs the program with no window and no display: start-up, the remote command poll,
// runs and data files, on the console host. Ends on SIGINT or SIGTERM; returns the exit
// status.
// `argc` and `argv` start Qt's event loop when --scpi asks for the server.
int runHeadless(const Options& options, int argc, char** argv);

}  // namespace qvx::app
