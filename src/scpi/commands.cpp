#include "scpi/commands.h"

#include <string>
#include <unordered_map>

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
    const std::string_view mnemonic = rest.substr(0, colon);
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

// The commands by the long and the short form of their first mnemonic.
class CommandIndex {
 public:
  CommandIndex() {
    for (auto table :
         {commonCommands(), instrumentCommands(), generatorCommands(), waveformCommands()})
      for (const Command& c : table) {
        const std::string_view header(c.header);
        const bool common = header.front() == '*';
        const MnemonicForms forms = mnemonicForms(header.substr(common, header.find(':') - common));
        for (const std::string& form : {forms.longForm, forms.shortForm}) {
          std::vector<const Command*>& list = (common ? common_ : tree_)[form];
          if (list.empty() || list.back() != &c) list.push_back(&c);
        }
      }
  }

  std::span<const Command* const> under(bool common, const std::string& first) const {
    const auto& map = common ? common_ : tree_;
    const auto found = map.find(first);
    if (found == map.end()) return {};
    return found->second;
  }

 private:
  std::unordered_map<std::string, std::vector<const Command*>> common_, tree_;
};

}  // namespace

const Command* findCommand(const Unit& unit, std::vector<int>& suffixes) {
  // A client may send any number of headers, so each is matched only against the
  // commands whose first mnemonic it starts with, in table order, not against the whole
  // tree.
  static const CommandIndex index;
  if (unit.path.empty()) return nullptr;
  for (const Command* c : index.under(unit.common, unit.path[0].name))
    if (headerMatches(c->header, unit, suffixes)) return c;
  return nullptr;
}

}  // namespace qvx::scpi
