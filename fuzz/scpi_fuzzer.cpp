// The SCPI parser and command lookup fed any line a client could send: they must neither
// crash nor hang, and whatever parses must be well formed.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "scpi/commands.h"
#include "scpi/parser.h"
#include "scpi/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qvx::scpi;
  // The server refuses longer lines before they reach the parser.
  if (size > kMaxLine) return 0;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const ParsedLine parsed = parseLine(line);
  for (const Unit& unit : parsed.units) {
    std::vector<int> suffixes;
    const Command* command = findCommand(unit, suffixes);
    if (unit.path.empty() || (command && suffixes.size() != unit.path.size())) {
      std::fprintf(stderr, "malformed unit from the parser\n");
      std::abort();
    }
  }
  asksToStop(parsed);
  return 0;
}
