#include "scpi/commands.h"

#include <string>

namespace qvx::scpi {

namespace {

// Whether the path matches the header "A:B#:C", filling in the suffixes.
bool headerMatches(const char* header, const Unit& unit, std::vector<int>& suffixes) {
  std::string_view rest(header);
  if (unit.common != (rest.front() == '*')) return false;
  if (unit.common) rest.remove_prefix(1);
  suffixes.clear();
  std::size_t node = 0;
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string mnemonic(rest.substr(0, colon));
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    if (node >= unit.path.size()) return false;
    const Node& given = unit.path[node++];
    const bool takesSuffix = mnemonic.back() == '#';
    if (given.suffix >= 0 && !takesSuffix) return false;
    if (!mnemonicMatches(mnemonic, given.name)) return false;
    suffixes.push_back(given.suffix >= 0 ? given.suffix : 1);
  }
  return node == unit.path.size();
}

}  // namespace

const Command* findCommand(const Unit& unit, std::vector<int>& suffixes) {
  for (auto table :
       {commonCommands(), instrumentCommands(), generatorCommands(), waveformCommands()})
    for (const Command& c : table)
      if (headerMatches(c.header, unit, suffixes)) return &c;
  return nullptr;
}

}  // namespace qvx::scpi
