#pragma once
#include <functional>
#include <string>
#include <vector>

#include "sim/instrument.h"

namespace qvx::sim {

// One command-line option that describes the simulated instrument: its name without the
// leading dashes, the name of its value (empty for a switch), its line of help, and how
// its value goes into the configuration. `apply` throws std::invalid_argument, with a
// message naming the option, for a malformed value.
struct SimOption {
  std::string name;
  std::string valueName;
  std::string help;
  std::function<void(Config&, const std::string& value)> apply;
};

// Every option of the simulated instrument, in the order --help lists them.
const std::vector<SimOption>& simOptions();

// Reads one argument ("--sim-lpt=2", "--sim-unplugged") into `config`. Returns false when
// `arg` is not such an option; throws std::invalid_argument as SimOption::apply does.
bool parseOption(const std::string& arg, Config& config);

}  // namespace qvx::sim
