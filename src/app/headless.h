#pragma once
#include "app/options.h"

namespace qvx::app {

// Runs the program with no window and no display: start-up, the remote command poll,
// runs and data files, on the console host. Ends on SIGINT or SIGTERM; returns the exit
// status.
int runHeadless(const Options& options);

}  // namespace qvx::app
