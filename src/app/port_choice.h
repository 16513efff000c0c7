#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "app/options.h"
#include "core/port.h"

namespace qvx::app {

// The port the command line asks for: the simulated instrument (on `clock`), the ppdev
// node or raw port I/O. Problems with a real port go to stderr, naming the remedy; the
// port then behaves as one with nothing attached.
std::unique_ptr<PortIO> openPort(const Options& options, std::function<std::int64_t()> clock);

}  // namespace qvx::app
