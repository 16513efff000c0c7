#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qvx::scpi {

// Deeper than any header of the command tree: a unit's path is kept to this many nodes.
constexpr std::size_t kMaxDepth = 8;

// One node of a header: its mnemonic in upper case without the numeric suffix, and the
// suffix (CHANnel2 → "CHANNEL", 2), or -1 when none was given.
struct Node {
  std::string name;
  int suffix = -1;
};

// A parameter as sent: a quoted string (quotes removed, doubled quotes undone) or the
// text of a number or word, blanks around it removed.
struct Param {
  std::string text;
  bool quoted = false;
};

// One command or query of a message, its header resolved to a full path from the root.
struct Unit {
  bool common = false;  // *IDN?, *RST, ...: `path` holds the one mnemonic after '*'
  bool query = false;
  std::vector<Node> path;
  std::vector<Param> params;
};

// A line split into its units. `units` holds every unit before the first one that did
// not parse; `error` is that unit's error number (0 when the whole line parsed).
struct ParsedLine {
  std::vector<Unit> units;
  int error = 0;
  std::string detail;
};

// Parses one program message (without its line end) as SCPI-1999 reads it: units
// separated by ';', a header of ':'-separated mnemonics with an optional numeric suffix
// and '?' for a query, parameters after white space separated by ','. A header that
// starts with ':' is taken from the root; any other one from the path the previous
// command of the line left (its header without the last node). Common commands ('*')
// leave the path as it was. Mnemonics are case insensitive.
ParsedLine parseLine(std::string_view line);

}  // namespace qvx::scpi
