// The command lookup against the whole tree: the lookup only tries the commands under a
// header's first mnemonic, so every command must still be found by each spelling of
// its header, and only by those.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "scpi/commands.h"
#include "scpi/parser.h"
#include "scpi/session.h"

namespace qvx {
namespace {

// The header as a client may send it, each mnemonic long or short, and suffix 3 where
// one is taken: "CHANnel#:RANGe" becomes "CHANNEL3:RANGE" or "CHAN3:RANG".
std::string spelled(std::string_view header, bool shortForms) {
  std::string out;
  bool inLowerPart = false;
  for (char c : header) {
    if (c == ':' || c == '*') {
      out += c;
      inLowerPart = false;
    } else if (c == '#') {
      out += '3';
    } else if (std::islower(static_cast<unsigned char>(c))) {
      inLowerPart = true;
      if (!shortForms) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (!inLowerPart || !shortForms) {
      out += c;
    }
  }
  return out;
}

const scpi::Command* lookUp(const std::string& line, std::vector<int>& suffixes) {
  const scpi::ParsedLine parsed = scpi::parseLine(line);
  return parsed.units.size() == 1 ? scpi::findCommand(parsed.units[0], suffixes) : nullptr;
}

TEST(ScpiLookup, EveryCommandIsFoundByItsLongAndShortHeaderAndNoOther) {
  int commands = 0;
  for (auto table : {scpi::commonCommands(), scpi::instrumentCommands(), scpi::generatorCommands(),
                     scpi::waveformCommands()})
    for (const scpi::Command& c : table) {
      const std::string_view header(c.header);
      const std::size_t nodes = std::count(header.begin(), header.end(), ':') + 1;
      EXPECT_LT(nodes, scpi::kMaxDepth) << header;
      for (bool shortForms : {false, true}) {
        const std::string line = (header[0] == '*' ? "" : ":") + spelled(header, shortForms);
        SCOPED_TRACE(line);
        std::vector<int> suffixes;
        EXPECT_EQ(lookUp(line + "?", suffixes), &c);
        ASSERT_EQ(suffixes.size(), nodes);
        EXPECT_EQ(suffixes[0], header.find('#') < header.find(':') ? 3 : 1);
        // One node more or one fewer is another header; a common command's name sent
        // as a subsystem one, or the other way round, is none.
        EXPECT_NE(lookUp(line + ":XTRA", suffixes), &c);
        if (nodes > 1) EXPECT_NE(lookUp(line.substr(0, line.rfind(':')), suffixes), &c);
        if (header[0] == '*')
          EXPECT_EQ(lookUp(":" + line.substr(1), suffixes), nullptr);
        else
          EXPECT_EQ(lookUp("*" + line.substr(1), suffixes), nullptr);
      }
      ++commands;
    }
  EXPECT_GE(commands, 40);

  std::vector<int> suffixes;
  // Long and short forms mixed within one header, and any case.
  EXPECT_NE(lookUp(":syst:ERROR:next?", suffixes), nullptr);
  EXPECT_EQ(lookUp(":SYSTE:ERR?", suffixes), nullptr);
  EXPECT_EQ(lookUp(":GEN2:FREQ?", suffixes), nullptr);
  EXPECT_EQ(lookUp(":NOSUCH?", suffixes), nullptr);
}

TEST(ScpiLookup, RelativeHeadersPastEveryCommandStayUndefinedWithoutGrowingThePath) {
  // Each relative header adds to the path the one before it left: as many units as the
  // longest line holds, each named by its first nodes only, none a command.
  std::string line;
  while (line.size() + 4 <= scpi::kMaxLine) line += "A:A;";
  const scpi::ParsedLine parsed = scpi::parseLine(line);
  EXPECT_EQ(parsed.error, 0);
  ASSERT_EQ(parsed.units.size(), line.size() / 4);
  std::vector<int> suffixes;
  for (std::size_t i = 0; i < parsed.units.size(); ++i) {
    const scpi::Unit& unit = parsed.units[i];
    ASSERT_EQ(unit.path.size(), std::min<std::size_t>(2 + i, scpi::kMaxDepth)) << i;
    ASSERT_EQ(unit.path[0].name, "A");
    ASSERT_EQ(scpi::findCommand(unit, suffixes), nullptr) << i;
  }
  // Within the depth the path still resolves, from the root or from the last command.
  const scpi::ParsedLine relative =
      scpi::parseLine(":SYST:ERR:COUN?;NEXT?;:SYST:ERR:A:B:C:D:E:F;NEXT?");
  ASSERT_EQ(relative.units.size(), 4u);
  EXPECT_EQ(scpi::findCommand(relative.units[1], suffixes),
            lookUp(":SYSTem:ERRor:NEXT?", suffixes));
  EXPECT_EQ(scpi::findCommand(relative.units[3], suffixes), nullptr);
}

}  // namespace
}  // namespace qvx
