#pragma once
#include <span>

#include "scpi/call.h"

namespace qvx::scpi {

using Handler = void (*)(Call&);

// One header of the command tree: its mnemonics from the root separated by ':' (long form,
// short form in upper case, '#' where a numeric suffix is taken; "*IDN" for a common
// command), what it does as a command and what it answers as a query (either may be null).
struct Command {
  const char* header;
  Handler set;
  Handler query;
};

// The commands of each part of the instrument.
std::span<const Command> commonCommands();      // IEEE 488.2 and SYSTem
std::span<const Command> instrumentCommands();  // mode, acquisition, channels, trigger
std::span<const Command> generatorCommands();   // generator and counter
std::span<const Command> waveformCommands();    // waveform data and its scaling

// The command whose header matches the unit's path, with the suffixes it gave (1 where
// none was given); null when none does.
const Command* findCommand(const Unit& unit, std::vector<int>& suffixes);

}  // namespace qvx::scpi
