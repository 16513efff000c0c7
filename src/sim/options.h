#pragma once
#include <string>

#include "sim/instrument.h"

namespace qvx::sim {

// Reads one command-line option that describes the simulated instrument into `config`.
// Returns false when `arg` is not such an option; throws std::invalid_argument, with a
// message naming the option, when it is one but malformed.
bool parseOption(const std::string& arg, Config& config);

// The lines of --help that describe these options.
std::string optionsHelp();

}  // namespace qvx::sim
