#pragma once
#include <memory>

#include "app/options.h"
#include "app/scpi_server.h"
#include "core/scope.h"

namespace qvx::app {

// Starts the SCPI server that --scpi asks for and says on stderr where it listens, with a
// warning when that is beyond this machine. Null, with the reason on stderr, when the
// address cannot be taken (a port in use, an address not of this machine).
std::unique_ptr<ScpiServer> startScpiServer(Scope& scope, const Options& options);

}  // namespace qvx::app
