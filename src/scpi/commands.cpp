#include "scpi/commands.h"

#include <string>
#include <unordered_map>

namespace qvx::scpi {

namespace {

// A command's header split into its mnemonics, each in the forms it may be sent in.
struct SplitHeader {
  struct Mnemonic {
    MnemonicForms forms;
    bool takesSuffix;
  };
  const Command* command;
  std::vector<Mnemonic> mnemonics;
};

SplitHeader split(const Command& c) {
  SplitHeader out{&c, {}};
  std::string_view rest(c.header);
  if (rest.front() == '*') rest.remove_prefix(1);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view mnemonic = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    out.mnemonics.push_back({mnemonicForms(mnemonic), mnemonic.back() == '#'});
  }
  return out;
}

// Whether the path matches the header, filling in the suffixes.
bool headerMatches(const SplitHeader& header, const Unit& unit, std::vector<int>& suffixes) {
  if (unit.path.size() != header.mnemonics.size()) return false;
  suffixes.clear();
  for (std::size_t i = 0; i < unit.path.size(); ++i) {
    const Node& given = unit.path[i];
    const SplitHeader::Mnemonic& m = header.mnemonics[i];
    if (given.suffix >= 0 && !m.takesSuffix) return false;
    if (given.name != m.forms.longForm && given.name != m.forms.shortForm) return false;
    suffixes.push_back(given.suffix >= 0 ? given.suffix : 1);
  }
  return true;
}

// The commands, split once, by the long and the short form of their first mnemonic.
class CommandIndex {
 public:
  CommandIndex() {
    for (auto table :
         {commonCommands(), instrumentCommands(), generatorCommands(), waveformCommands()})
      for (const Command& c : table) {
        const SplitHeader header = split(c);
        const MnemonicForms& first = header.mnemonics.front().forms;
        for (const std::string& form : {first.longForm, first.shortForm}) {
          std::vector<SplitHeader>& list = (c.header[0] == '*' ? common_ : tree_)[form];
          if (list.empty() || list.back().command != &c) list.push_back(header);
        }
      }
  }

  const std::vector<SplitHeader>& under(bool common, const std::string& first) const {
    static const std::vector<SplitHeader> none;
    const auto& map = common ? common_ : tree_;
    const auto found = map.find(first);
    return found == map.end() ? none : found->second;
  }

 private:
  std::unordered_map<std::string, std::vector<SplitHeader>> common_, tree_;
};

}  // namespace

const Command* findCommand(const Unit& unit, std::vector<int>& suffixes) {
  // A client may send any number of headers, so each is matched only against the
  // commands whose first mnemonic it starts with, in table order, not against the whole
  // tree.
  static const CommandIndex index;
  if (unit.path.empty()) return nullptr;
  for (const SplitHeader& header : index.under(unit.common, unit.path[0].name))
    if (headerMatches(header, unit, suffixes)) return header.command;
  return nullptr;
}

}  // namespace qvx::scpi
